#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "main/TForm1.h"

#include "common/LanguageApply.h"
#include "host/LanguageSearch.h"

namespace {

#ifdef VEM_BUILD_DATA_DIR
const QString BuildDataFolder = QStringLiteral(VEM_BUILD_DATA_DIR);
#else
const QString BuildDataFolder;
#endif

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
    for (const QString& file :
         vem::languageFileCandidates(QDir::currentPath(), QCoreApplication::applicationDirPath(), BuildDataFolder)) {
        if (loaded) break;
        loaded = QFileInfo(file).isFile() && window.loadLanguage(file);
    }
    if (!loaded) QMessageBox::warning(nullptr, QString(), "language.txt not found !!!");
    window.show();
    return app.exec();
}
