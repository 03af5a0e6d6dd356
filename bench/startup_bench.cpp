// The start of vem on a display (scripts/bench runs it under Xvfb): the time from starting the
// process until the main window's first paint has reached the screen, the median of 10 runs,
// and the median of each part the program logs on "vem.timing". The working folder holds the
// sample project, its template and the German language file; the settings start empty.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 10;

// One start: the milliseconds until "shown" was logged, seen from here and by vem since its
// main began, and the sum of each part's pieces.
struct Start {
    double shown = -1;
    double shownSinceMain = -1;
    QMap<QString, double> parts;
    QStringList order;  // of the parts, as vem logged them
};

Start startOnce(const QString& folder, const QProcessEnvironment& environment) {
    static const QRegularExpression timing(QStringLiteral("^vem\\.timing: (.+) ([0-9.]+) ms$"));
    Start start;
    QProcess vem;
    vem.setWorkingDirectory(folder);
    vem.setProcessEnvironment(environment);
    vem.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    vem.start(VEM_PATH, {});
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

}  // namespace

int main(int argc, char** argv) {
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

    startOnce(folder.path(), environment);  // fills the file caches; not counted
    std::vector<Start> starts;
    QStringList parts;
    for (int i = 0; i < Runs; ++i) {
        starts.push_back(startOnce(folder.path(), environment));
        if (starts.back().shown < 0) {
            std::fprintf(stderr, "startup_bench: vem did not log that its window was shown\n");
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
    return 0;
}
