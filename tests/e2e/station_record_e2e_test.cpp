#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "VemctlRun.h"
#include "host/StationRecord.h"
#include "i18n/LanguageFile.h"

namespace vem::test {
namespace {

// The address pg-server gives to a server of its own; empty when the test runs without one.
QString server() { return qEnvironmentVariable("VEM_TEST_POSTGRESQL"); }

MessageTable englishMessages() {
    MessageTable messages;
    DialogMessages dialogs;
    applyLanguageMessages(*readLanguageFile(VEM_DATA_DIR "/language-en.txt"), messages, dialogs);
    return messages;
}

StationAttempt attempt(const std::string& started, StationResult result, const std::string& message = {}) {
    return {started, started, "bench-1", "/dev/pts/9", "usb-QOR_0042-if00", "/work/P.qor", "a1", "b2", "c3",
            result,  message.empty() ? "" : "Programmieren", message, 3417};
}

std::string rowText(const StationAttempt& a) {
    return a.started + "|" + a.ended + "|" + a.station + "|" + a.port + "|" + a.device + "|" + a.projectPath + "|" +
           a.projectSha256 + a.templateSha256 + a.imageSha256 + "|" + stationResultKey(a.result) + "|" +
           a.failedStep + "|" + a.message + "|" + std::to_string(a.durationMs);
}

std::vector<StationAttempt> Attempts{attempt("2026-12-08T09:30:00.123Z", StationResult::Verified),
                                     attempt("2026-12-09T10:00:00.000Z", StationResult::Failed,
                                             "Block 40: \"keine\" Antwort, ß\nzweite Zeile")};

TEST(StationRecord, RefusesWhatCannotHoldARecordWithAClearReason) {
    QTemporaryDir folder;
    writeFile(folder.filePath("text.sqlite"), "station log, not a database\n");
    QString error;
    ASSERT_TRUE(StationRecord::open(folder.filePath("locked.sqlite"), &error));
    QFile::setPermissions(folder.filePath("locked.sqlite"), QFile::ReadOwner);
    const QString refused = QString(server()).replace("postgres@", "nosuchstation@");
    const struct {
        QString target, says;
    } cases[] = {
        {folder.filePath("text.sqlite"), "is not a database"},
        {folder.filePath("locked.sqlite"), "is read-only"},
        {folder.path(), "is a folder"},
        {folder.filePath("gone/station.sqlite"), "the folder does not exist"},
        {"postgresql://station@localhost/line?host=" + folder.filePath("nosocket"), "cannot be reached"},
        {"postgresql://station@127.0.0.1:1/line", "cannot be reached"},
        {"postgresql://station@localhost", "is no database address"},
        {server().isEmpty() ? QString() : refused, "refuses the connection"},
    };
    for (const auto& c : cases) {
        if (c.target.isEmpty()) continue;
        error.clear();
        EXPECT_FALSE(StationRecord::open(c.target, &error, englishMessages())) << c.target.toStdString();
        EXPECT_TRUE(error.contains(c.says)) << error.toStdString();
    }
}

TEST(StationRecord, GivesBackEveryFieldOfEveryAttemptAndFiltersBySince) {
    QTemporaryDir folder;
    QString error;
    auto writer = StationRecord::open(folder.filePath("station.sqlite"), &error);
    ASSERT_TRUE(writer) << error.toStdString();
    for (const StationAttempt& a : Attempts) ASSERT_TRUE(writer->append(a, &error)) << error.toStdString();
    // A second connection in the same process sees what the first wrote.
    const auto reader = StationRecord::open(folder.filePath("station.sqlite"), &error, englishMessages(),
                                            StationRecord::Access::Read);
    const std::vector<StationAttempt> all = reader->since("", &error), later = reader->since("2026-12-09", &error);
    ASSERT_EQ(all.size(), 2u);
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(rowText(all[i]), rowText(Attempts[i]));
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(rowText(later[0]), rowText(Attempts[1]));
}

// Two stations that start together on one record, the table not yet made, each write every row.
TEST(StationRecord, TwoStationsWritingAtOnceLoseNoRow) {
    QTemporaryDir folder;
    for (const QString& target : {folder.filePath("line.sqlite"), server()}) {
        if (target.isEmpty()) continue;
        QProcess first, second;
        first.start(RECORD_WRITER_PATH, {target, "station-a", "100"});
        second.start(RECORD_WRITER_PATH, {target, "station-b", "100"});
        for (QProcess* p : {&first, &second}) {
            ASSERT_TRUE(p->waitForFinished(60000));
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        }
        QString error;
        const auto rows = StationRecord::open(target, &error)->since("", &error);
        EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](auto& r) { return r.station == "station-a"; }), 100);
        EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](auto& r) { return r.station == "station-b"; }), 100);
    }
}

struct VemctlRecords : VemctlFolder {
    void SetUp() override {
        VemctlFolder::SetUp();
        QString error;
        auto record = StationRecord::open(StationRecord::defaultTarget(path("default.qor")), &error);
        for (const StationAttempt& a : Attempts) ASSERT_TRUE(record->append(a, &error));
    }
};

TEST_F(VemctlRecords, PrintsTheRecordBesideTheProjectAsLinesJsonAndCsv) {
    const VemctlResult lines = run({"records", "default.qor"});
    EXPECT_EQ(lines.exit, 0);
    EXPECT_EQ(lines.out,
              "2026-12-08T09:30:00.123Z  bench-1  usb-QOR_0042-if00  programmed and verified  3.42 s  /work/P.qor\n"
              "2026-12-09T10:00:00.000Z  bench-1  usb-QOR_0042-if00  failed  3.42 s  /work/P.qor  Programmieren: "
              "Block 40: \"keine\" Antwort, ß\\x0azweite Zeile\n");

    const QStringList json = run({"records", "default.qor", "--json", "--since", "2026-12-09"}).out.split('\n');
    ASSERT_EQ(json.size(), 2);  // one object and the end of its line
    const QJsonObject failed = QJsonDocument::fromJson(json[0].toUtf8()).object();
    EXPECT_EQ(failed["result"], "failed");
    EXPECT_EQ(failed["message"].toString().toStdString(), Attempts[1].message);
    EXPECT_EQ(failed["durationMs"], 3417);

    const QStringList csv = run({"records", "--record", path("station.sqlite"), "--csv"}).out.split('\n');
    ASSERT_EQ(csv.size(), 4);
    EXPECT_TRUE(csv[0].startsWith("\"started\",\"ended\",\"station\""));
    EXPECT_TRUE(csv[2].contains(",\"failed\",\"failed\",\"Programmieren\",\"Block 40: \"\"keine\"\" Antwort, "
                                "ß\\x0azweite Zeile\",\"3417\""))
        << csv[2].toStdString();

    const VemctlResult wrong = run({"records", "--since", "yesterday"});
    EXPECT_EQ(wrong.exit, 2);
    EXPECT_TRUE(wrong.err.contains("yesterday is no date")) << wrong.err.toStdString();
}

}  // namespace
}  // namespace vem::test
