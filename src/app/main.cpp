#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>

#include "ui/main/MainWindow.h"
#include "ui/main/DeviceMenu.h"
#include "ui/main/StartupTimes.h"
#include "ui/station/StationWindow.h"
#include "serial/PortRegistry.h"
#include "serial/SerialPort.h"

#include "files/ProjectFile.h"
#include "i18n/LanguageFile.h"
#include "host/LanguageSearch.h"

namespace {

// What the program found at start; shown with QT_LOGGING_RULES="vem.startup.info=true".
Q_LOGGING_CATEGORY(startupLog, "vem.startup", QtWarningMsg)

QString absolutePath(const QString& file) { return QDir::cleanPath(QFileInfo(file).absoluteFilePath()); }

bool asksForHelpOrVersion(QCommandLineParser& options, int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    options.parse(arguments);  // its errors are reported once the application has taken its own options
    return options.isSet("help") || options.isSet("help-all") || options.isSet("version");
}

}  // namespace

int main(int argc, char* argv[]) {
    vem::startup::beginTiming();
    QCoreApplication::setApplicationName(QStringLiteral("vem"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEM_VERSION));
    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption version = options.addVersionOption();
    const QCommandLineOption language("language", "Reads the window and message texts from FILE.", "FILE");
    options.addOption(language);
    const QCommandLineOption station("station", "Opens the production window on the project, watching DIR, and "
                                                "starts it.", "DIR");
    options.addOption(station);
    options.addPositionalArgument("project", "Opens this project; its folder becomes the working folder.",
                                  "[FILE.qor]");
    // --help and --version are answered before the window system is asked for a display.
    if (asksForHelpOrVersion(options, argc, argv)) {
        QCoreApplication app(argc, argv);
        if (options.isSet(version)) options.showVersion();
        options.showHelp();
    }
    // The port list is read meanwhile: the main window needs it at once, but not before.
    vem::PortRegistry::listAhead();
    QApplication app(argc, argv);
    vem::startup::endPart("application");
    options.process(app);

    // The chosen file, else the usual places in order. A chosen file that cannot be read, and
    // a place holding something other than a readable file, is named with the reason. The texts
    // are in place before the project opens, so its messages speak them.
    auto chooseLanguage = [&](vem::MainWindow& window) {
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
        vem::startup::endPart("language file");
        if (languageFile.isEmpty()) problems << "language.txt not found !!!";
        if (!problems.isEmpty()) {
            QMessageBox box(QMessageBox::Warning, QString(), problems.join('\n'));
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
    };
    const QStringList projects = options.positionalArguments();
    vem::MainWindow window(nullptr, projects.isEmpty() ? QString() : projects.first(), chooseLanguage);
    const std::string& projectFile = window.session().document().projectFile();
    qCInfo(startupLog).noquote() << "project:"
                                 << (projectFile.empty() ? QString("none") : QFile::decodeName(projectFile.c_str()));
    vem::startup::logWhenShown(&window);
    window.show();
    if (options.isSet(station)) {
        vem::StationWindow& production = window.deviceMenu().stationWindow();
        production.setFolder(options.value(station));
        window.deviceMenu().openStation();
        production.start();
    }
    const int status = app.exec();
    // A port still closing lets its device go once its last bytes have left.
    while (window.serial().isClosing()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return status;
}
