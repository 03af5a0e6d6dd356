#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "main/TForm1.h"

namespace {

// language.txt of the working folder, else the installed one, else (build tree) the source's.
QStringList languageFiles() {
    QStringList files{QDir::current().filePath("language.txt"),
                      QCoreApplication::applicationDirPath() + "/../share/vem/language.txt"};
#ifdef VEM_BUILD_DATA_DIR
    files << QStringLiteral(VEM_BUILD_DATA_DIR "/language.txt");
#endif
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption language("language", "Reads the window and message texts from FILE.", "FILE");
    options.addOption(language);
    options.process(app);

    vem::TForm1 window;
    bool loaded = false;
    if (options.isSet(language)) {
        loaded = window.loadLanguage(options.value(language));
        if (!loaded) QMessageBox::warning(nullptr, QString(), options.value(language) + " not found !!!");
    }
    for (const QString& file : languageFiles()) {
        if (loaded) break;
        loaded = QFileInfo(file).isFile() && window.loadLanguage(file);
    }
    if (!loaded) QMessageBox::warning(nullptr, QString(), "language.txt not found !!!");
    window.show();
    return app.exec();
}
