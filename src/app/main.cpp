#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>

#include "main/TForm1.h"

#include "files/ProjectFile.h"
#include "host/LanguageSearch.h"

namespace {

// What the program found at start; shown with QT_LOGGING_RULES="vem.startup.info=true".
Q_LOGGING_CATEGORY(startupLog, "vem.startup", QtWarningMsg)

QString absolutePath(const QString& file) { return QDir::cleanPath(QFileInfo(file).absoluteFilePath()); }

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption language("language", "Reads the window and message texts from FILE.", "FILE");
    options.addOption(language);
    options.process(app);

    vem::TForm1 window;
    const bool projectOpened = window.project().projectName == vem::DefaultProjectName;
    qCInfo(startupLog).noquote() << "project:"
                                 << (projectOpened ? absolutePath(vem::DefaultProjectName) : QString("none"));

    QString languageFile;
    if (options.isSet(language)) {
        if (window.loadLanguage(options.value(language)))
            languageFile = options.value(language);
        else
            QMessageBox::warning(nullptr, QString(), options.value(language) + " not found !!!");
    }
    for (const QString& file : vem::languageFileCandidates()) {
        if (!languageFile.isEmpty()) break;
        if (QFileInfo(file).isFile() && window.loadLanguage(file)) languageFile = file;
    }
    qCInfo(startupLog).noquote() << "language file:"
                                 << (languageFile.isEmpty() ? QString("none") : absolutePath(languageFile));
    if (languageFile.isEmpty()) QMessageBox::warning(nullptr, QString(), "language.txt not found !!!");
    window.show();
    return app.exec();
}
