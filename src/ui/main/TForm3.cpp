#include "main/TForm3.h"

#include "main/TForm1.h"

namespace vem {

TForm3::TForm3(TForm1& mainWindow) : QWidget(&mainWindow, Qt::Window) {
    setObjectName("TForm3");
    mainWindow.showInterfaceSummary();
    mainWindow.showHoldTimes();
    mainWindow.showProjectName();
    mainWindow.project().openDefaultProject = true;
    mainWindow.openProjectFile({});
}

}  // namespace vem
