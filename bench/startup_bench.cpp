// The start of vem on a display (scripts/bench runs it under Xvfb): the time from starting the
// process until the main window's first paint has reached the screen, the median of 10 runs,
// and the median of each part the program logs on "vem.timing". The working folder holds the
// sample project, its template and the German language file; the settings start empty.
// In the same run, alternating with vem, it times the start of an empty QMainWindow with a menu
// bar and a status bar (this program started with --empty-window) and prints the ratio of the
// two medians: what vem costs beyond any Qt window.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMap>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 10;
const char* const EmptyWindowOption = "--empty-window";

// One start: the milliseconds until "shown" was logged, seen from here and by vem since its
// main began, and the sum of each part's pieces.
struct Start {
    double shown = -1;
    double shownSinceMain = -1;
    QMap<QString, double> parts;
    QStringList order;  // of the parts, as vem logged them
};

// `program` logs "vem.timing: shown <ms> ms" once its window was painted, and other parts before.
Start startOnce(const QString& program, const QStringList& arguments, const QString& folder,
                const QProcessEnvironment& environment) {
    static const QRegularExpression timing(QStringLiteral("^vem\\.timing: (.+) ([0-9.]+) ms$"));
    Start start;
    QProcess vem;
    vem.setWorkingDirectory(folder);
    vem.setProcessEnvironment(environment);
    vem.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    vem.start(program, arguments);
    while (start.shown < 0 && vem.waitForReadyRead(10000)) {
        while (vem.canReadLine()) {
            const auto match = timing.match(QString::fromLocal8Bit(vem.readLine()).trimmed());
            if (!match.hasMatch()) continue;
            if (match.captured(1) == "shown") {
                start.shown = clock.nsecsElapsed() / 1e6;
                start.shownSinceMain = match.captured(2).toDouble();
            } else {
                if (!start.parts.contains(match.captured(1))) start.order << match.captured(1);
                start.parts[match.captured(1)] += match.captured(2).toDouble();
            }
        }
    }
    vem.kill();
    vem.waitForFinished(5000);
    return start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Figure>
std::vector<double> each(const std::vector<Start>& starts, Figure figure) {
    std::vector<double> values;
    for (const Start& s : starts) values.push_back(figure(s));
    return values;
}

// Logs, as vem does, once the first paint of the window it watches has reached the screen.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& sinceMain) : sinceMain_(sinceMain) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                std::fprintf(stderr, "vem.timing: shown %.2f ms\n", sinceMain_.nsecsElapsed() / 1e6);
            });
        }
        return false;
    }

private:
    const QElapsedTimer& sinceMain_;
};

// The baseline: an empty main window with a menu of one item and a status bar.
int showEmptyWindow(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("&Datei")->addAction("B&eenden");
    window.statusBar()->showMessage("VEM");
    FirstPaint firstPaint(sinceMain);
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], EmptyWindowOption) == 0) return showEmptyWindow(argc, argv);
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "startup_bench: needs a display (scripts/bench runs it under xvfb-run)\n");
        return 2;
    }
    QTemporaryDir folder, config;
    for (const char* name : {"default.qor", "default.bin", "language.txt"})
        QFile::copy(QString(VEM_DATA_DIR "/") + name, folder.filePath(name));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_LOGGING_RULES", "vem.timing.info=true");
    environment.insert("XDG_CONFIG_HOME", config.path());
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("VEM_PORT");

    const QString self = QCoreApplication::applicationFilePath();
    // One start of each fills the file caches; not counted.
    startOnce(VEM_PATH, {}, folder.path(), environment);
    startOnce(self, {EmptyWindowOption}, folder.path(), environment);
    std::vector<Start> starts, emptyStarts;
    QStringList parts;
    for (int i = 0; i < Runs; ++i) {
        starts.push_back(startOnce(VEM_PATH, {}, folder.path(), environment));
        emptyStarts.push_back(startOnce(self, {EmptyWindowOption}, folder.path(), environment));
        if (starts.back().shown < 0 || emptyStarts.back().shown < 0) {
            std::fprintf(stderr, "startup_bench: a window was not logged as shown\n");
            return 1;
        }
        for (const QString& part : starts.back().order)
            if (!parts.contains(part)) parts << part;
    }
    const std::vector<double> shown = each(starts, [](const Start& s) { return s.shown; });
    std::printf("vem start until the main window is shown, median of %d runs: %.1f ms (%.1f to %.1f)\n", Runs,
                median(shown), *std::min_element(shown.begin(), shown.end()),
                *std::max_element(shown.begin(), shown.end()));
    std::printf("  %-16s %6.1f ms\n", "before main",
                median(each(starts, [](const Start& s) { return s.shown - s.shownSinceMain; })));
    for (const QString& part : parts)
        std::printf("  %-16s %6.1f ms\n", qPrintable(part),
                    median(each(starts, [&](const Start& s) { return s.parts.value(part); })));
    const std::vector<double> emptyShown = each(emptyStarts, [](const Start& s) { return s.shown; });
    std::printf("an empty QMainWindow with a menu bar and a status bar, the same way: %.1f ms (%.1f to %.1f)\n",
                median(emptyShown), *std::min_element(emptyShown.begin(), emptyShown.end()),
                *std::max_element(emptyShown.begin(), emptyShown.end()));
    std::printf("start ratio, vem to the empty window (medians): %.2f\n", median(shown) / median(emptyShown));
    return 0;
}
