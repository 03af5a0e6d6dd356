#include "ui/main/TForm3.h"

#include "ui/main/TForm1.h"

namespace vem {

TForm3::TForm3(TForm1& mainWindow) : QWidget(&mainWindow, Qt::Window) {
    setObjectName("TForm3");
    mainWindow.applyOutcome(mainWindow.session().startUp());
}

}  // namespace vem
