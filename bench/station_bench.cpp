// vemctl station with eight qorsim devices pacing at 57600 baud, plugged into the watched folder
// at random moments over 20 s: each device's time from its arrival to its verify against the
// time its wire needs (a full read-back to check it, the programming, the read-back of the
// verify) plus the settle time, and the station's throughput against one device alone.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr double BitsPerSecond = 57600.0;
constexpr double ReadBackWire = (538.0 + 17216.0) * 10.0 / BitsPerSecond;
constexpr double ProgramWire = (17197.0 + 542.0) * 10.0 / BitsPerSecond;
constexpr double DeviceWire = 2 * ReadBackWire + ProgramWire;
constexpr int SettleMs = 500;

struct Timing {
    double arrived = -1, finished = -1;
    QString result;
};

// Runs a station until `plugs.size()` devices finished, each plugged in after its delay (ms);
// the times of each device's arrival and end, in seconds from the station's start.
std::map<QString, Timing> runStation(const QString& folder, const std::vector<int>& plugs) {
    QDir(folder).mkpath("devices");
    std::vector<std::unique_ptr<QProcess>> sims;
    for (std::size_t i = 0; i < plugs.size(); ++i) {
        auto sim = std::make_unique<QProcess>();
        const QString name = QString("dev%1").arg(i + 1);
        sim->start(QORSIM_PATH, {"--baud", "57600", "--link", folder + "/devices/" + name, "--memory",
                                 folder + "/memory-" + name, "--appear-after", QString::number(plugs[i])});
        sims.push_back(std::move(sim));
    }
    QProcess station;
    station.setWorkingDirectory(folder);
    station.start(VEMCTL_PATH, {"station", "default.qor", "--watch", folder + "/devices", "--settle",
                                QString::number(SettleMs), "--count", QString::number(plugs.size()), "--json"});
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    station.waitForFinished(180000);
    std::map<QString, Timing> timings;
    for (const QByteArray& line : station.readAllStandardOutput().split('\n')) {
        const QJsonObject e = QJsonDocument::fromJson(line).object();
        const double at = (QDateTime::fromString(e["time"].toString(), Qt::ISODateWithMs).toMSecsSinceEpoch() - start) / 1e3;
        Timing& t = timings[e["device"].toString()];
        if (e["event"] == "arrived") t.arrived = at;
        if (e["event"] == "finished") {
            t.finished = at;
            t.result = e["result"].toString();
        }
    }
    for (auto& sim : sims) {
        sim->terminate();
        sim->waitForFinished(5000);
    }
    timings.erase(QString());
    return timings;
}

QString freshFolder(QTemporaryDir& dir, const QString& name) {
    const QString folder = dir.filePath(name);
    QDir().mkpath(folder);
    for (const char* file : {"default.qor", "default.bin"})
        QFile::copy(QString(VEM_DATA_DIR "/") + file, folder + "/" + file);
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const double bound = 1.05 * DeviceWire + SettleMs / 1e3;
    std::printf("station: one device's wire %.2f s (read-back, programming, verify at 57600 baud); bound 1.05 x wire "
                "+ settle = %.2f s\n", DeviceWire, bound);

    const auto alone = runStation(freshFolder(dir, "alone"), {0});
    if (alone.size() != 1 || alone.begin()->second.result != "verified") {
        std::fprintf(stderr, "bench: the device alone did not pass\n");
        return 1;
    }
    const double aloneSeconds = alone.begin()->second.finished - alone.begin()->second.arrived;
    std::printf("one device alone: %.2f s from arrival to verified, %.2f times its wire; %.1f devices a minute\n",
                aloneSeconds, aloneSeconds / DeviceWire, 60.0 / aloneSeconds);

    std::mt19937 rng(8);
    std::vector<int> plugs(8);
    for (int& at : plugs) at = static_cast<int>(rng() % 20000);
    const auto eight = runStation(freshFolder(dir, "eight"), plugs);
    double first = 1e9, last = 0, worst = 0;
    int within = 0;
    for (const auto& [name, t] : eight) {
        const double seconds = t.finished - t.arrived;
        worst = std::max(worst, seconds / (DeviceWire + SettleMs / 1e3));
        within += seconds <= bound;
        first = std::min(first, t.arrived);
        last = std::max(last, t.finished);
        std::printf("  %s  arrived %5.2f s  %s after %.2f s, %.3f times wire + settle\n", qPrintable(name), t.arrived,
                    qPrintable(t.result), seconds, seconds / (DeviceWire + SettleMs / 1e3));
    }
    std::printf("eight devices over 20 s: %d of %zu within the bound; worst %.3f times wire + settle; "
                "%.1f devices a minute from the first arrival to the last verify (%.2f s)\n",
                within, eight.size(), worst, eight.size() * 60.0 / (last - first), last - first);
    return within == static_cast<int>(eight.size()) ? 0 : 2;
}
