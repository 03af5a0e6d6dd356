#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>

#include "ui/main/MainWindow.h"
#include "serial/SerialPort.h"

#include "files/ProjectFile.h"
#include "i18n/LanguageFile.h"
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
    options.addPositionalArgument("project", "Opens this project; its folder becomes the working folder.",
                                  "[FILE.qor]");
    options.process(app);

    const QStringList projects = options.positionalArguments();
    vem::MainWindow window(nullptr, projects.isEmpty() ? QString() : projects.first());
    const std::string& projectFile = window.session().projectFile();
    qCInfo(startupLog).noquote() << "project:"
                                 << (projectFile.empty() ? QString("none") : QFile::decodeName(projectFile.c_str()));

    // The chosen file, else the usual places in order. A chosen file that cannot be read, and
    // a place holding something other than a readable file, is named with the reason.
    QString languageFile;
    QStringList problems;
    auto tryLanguage = [&](const QString& file, bool chosen) {
        vem::LanguageFileFault fault{};
        if (window.loadLanguage(file, fault))
            languageFile = file;
        else if (chosen || fault != vem::LanguageFileFault::Missing)
            problems << file + ": " + vem::languageFileFaultText(fault);
        return !languageFile.isEmpty();
    };
    if (!options.isSet(language) || !tryLanguage(options.value(language), true))
        for (const QString& file : vem::languageFileCandidates())
            if (tryLanguage(file, false)) break;
    for (const QString& problem : problems) qCInfo(startupLog).noquote() << "language file not taken:" << problem;
    qCInfo(startupLog).noquote() << "language file:"
                                 << (languageFile.isEmpty() ? QString("none") : absolutePath(languageFile));
    if (languageFile.isEmpty()) problems << "language.txt not found !!!";
    if (!problems.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, QString(), problems.join('\n'));
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    window.show();
    const int status = app.exec();
    // A port still closing lets its device go once its last bytes have left.
    while (window.serial().isClosing()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return status;
}
