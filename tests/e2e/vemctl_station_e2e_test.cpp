// vemctl station against qorsim devices that appear in a watched folder and go again.
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>
#include <vector>

#include "VemctlRun.h"

namespace {

using vem::test::readAll;

// A simulated device plugged into the watched folder as `name`; `returning` are the options of
// the same device (its memory kept) plugged in again once the first has been pulled.
struct Plug {
    QString name;
    QStringList options;
    QStringList returning = {};
};

struct StationCase {
    const char* what;
    std::vector<Plug> plugs;
    QStringList arguments;
    bool programFirst;  // the devices hold the project before the station starts
    int exit;
    QStringList finished;  // "device result step-prefix", in the order the devices finished
};

void PrintTo(const StationCase& c, std::ostream* os) { *os << c.what; }

struct VemctlStation : vem::test::VemctlFolder, ::testing::WithParamInterface<StationCase> {
    std::vector<std::unique_ptr<QProcess>> sims;
    ~VemctlStation() override {
        for (auto& sim : sims) {
            sim->terminate();
            sim->waitForFinished(5000);
        }
    }
    QProcess& plug(const Plug& plug, const QStringList& options) {
        auto sim = std::make_unique<QProcess>();
        sim->start(QORSIM_PATH, QStringList{"--link", path("devices/" + plug.name), "--memory",
                                            path("memory-" + plug.name)} + options);
        sim->waitForStarted(5000);
        sims.push_back(std::move(sim));
        return *sims.back();
    }
};

TEST_P(VemctlStation, TakesEachDeviceAsItArrivesAndSaysHowItEnded) {
    const StationCase& c = GetParam();
    ASSERT_TRUE(QDir(folder.path()).mkdir("devices"));
    for (const Plug& p : c.plugs) {
        if (p.name == "nowhere") {  // no device behind it
            ASSERT_TRUE(QFile::link(path("gone"), path("devices/nowhere")));
            continue;
        }
        plug(p, p.options);
        if (!c.programFirst) continue;
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(path("devices/" + p.name)); }, 5000));
        ASSERT_EQ(run({"program", "default.qor", "--port", path("devices/" + p.name)}).exit, 0);
    }
    QProcess station;
    station.setWorkingDirectory(folder.path());
    station.start(VEMCTL_PATH, QStringList{"station", "default.qor", "--watch", path("devices"), "--settle", "100",
                                           "--json", "--language", VEM_DATA_DIR "/language-en.txt"} + c.arguments);
    for (const Plug& p : c.plugs) {
        if (p.returning.isEmpty()) continue;
        QProcess& first = *sims[static_cast<std::size_t>(&p - c.plugs.data())];
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.state() == QProcess::NotRunning; }, 30000)) << "never pulled";
        plug(p, p.returning);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return station.state() == QProcess::NotRunning; }, 60000));
    QStringList finished;
    const QString err = QString::fromUtf8(station.readAllStandardError());
    for (const QByteArray& line : station.readAllStandardOutput().split('\n')) {
        const QJsonObject e = QJsonDocument::fromJson(line).object();
        if (e["event"] != "finished") continue;
        finished << (e["device"].toString() + " " + e["result"].toString() + " " + e["step"].toString()).trimmed();
    }
    ASSERT_EQ(finished.size(), c.finished.size()) << finished.join(", ").toStdString() << "\n" << err.toStdString();
    for (qsizetype i = 0; i < finished.size(); ++i) EXPECT_TRUE(finished[i].startsWith(c.finished[i])) << finished[i].toStdString();
    EXPECT_EQ(station.exitCode(), c.exit) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Devices, VemctlStation,
    ::testing::Values(
        StationCase{"two fresh devices", {{"a", {}}, {"b", {"--appear-after", "500"}}}, {"--count", "2"}, false, 0,
                    {"a verified", "b verified"}},
        StationCase{"a name the match leaves out", {{"usb-a", {"--appear-after", "300"}}, {"other", {}}},
                    {"--count", "1", "--match", "usb-*"}, false, 0, {"usb-a verified"}},
        StationCase{"a device that holds the project", {{"a", {}}}, {"--count", "1"}, true, 0, {"a already-held"}},
        StationCase{"--always programs it all the same", {{"a", {}}}, {"--count", "1", "--always"}, true, 0,
                    {"a verified"}},
        StationCase{"pulled while programming, then back", {{"a", {"--vanish-after", "400"}, {"--appear-after", "200"}}},
                    {"--count", "1"}, false, 0, {"a pulled program", "a verified"}},
        StationCase{"pulled while checked, then back", {{"a", {"--vanish-after", "100"}, {"--appear-after", "200"}}},
                    {"--count", "1"}, false, 0, {"a pulled check", "a verified"}},
        StationCase{"pulled while verified, then back holding it",
                    {{"a", {"--vanish-after", "700"}, {"--appear-after", "200"}}}, {"--count", "1"}, false, 0,
                    {"a pulled verify", "a already-held"}},
        StationCase{"a result command that fails", {{"a", {}}}, {"--count", "1", "--on-result", "exit 7"}, false, 0,
                    {"a verified"}},
        StationCase{"a device that does not keep what it was sent", {{"a", {"--corrupt-byte", "100"}}},
                    {"--count", "1"}, false, 1, {"a failed verify"}},
        StationCase{"a link that leads nowhere", {{"nowhere", {}}}, {"--count", "1", "--match", "nowhere"}, false, 1,
                    {"nowhere failed open"}}),
    [](const auto& info) {
        QString name = info.param.what;
        return name.replace(QRegularExpression("[^A-Za-z0-9]"), "_").toStdString();
    });

// Input a station cannot work with is refused before any device is taken, with the reason.
struct VemctlStationOptions : vem::test::VemctlFolder {};

TEST_F(VemctlStationOptions, StationRefusesAMissingFolderARecordItCannotWriteAndAWrongNumber) {
    const struct {
        QStringList arguments;
        int exit;
        const char* says;
    } cases[] = {
        {{"--watch", "no-such-folder"}, 3, "no such folder"},
        {{"--watch", ".", "--record", "missing/station.sqlite"}, 3, "Nothing could be recorded"},
        {{"--watch", ".", "--record", "default.bin"}, 3, "is not a database"},
        {{"--settle", "soon"}, 2, "--settle"},
        {{"--count", "0"}, 2, "--count"},
    };
    for (const auto& c : cases) {
        const vem::test::VemctlResult result = run(QStringList{"station", "default.qor"} + c.arguments);
        EXPECT_EQ(result.exit, c.exit) << c.says;
        EXPECT_TRUE(result.err.contains(c.says)) << result.err.toStdString();
    }
}

}  // namespace
