#include <QApplication>

#include "main/TForm1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vem::TForm1 window;
    window.show();
    return app.exec();
}
