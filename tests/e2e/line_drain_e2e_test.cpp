#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "QorsimProcess.h"

namespace {

using vem::test::QorsimProcess;

// Each byte the host sent and the line speed its terminal had when the byte had crossed the wire.
std::vector<std::pair<int, int>> lineLog(const QString& path) {
    std::vector<std::pair<int, int>> bytes;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return bytes;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2) bytes.emplace_back(parts[0].toInt(nullptr, 16), parts[1].toInt());
    }
    return bytes;
}

// The terminal idles at 9600 baud: a host that restores that setting, or closes, while its last
// bytes are still on the wire at 57600 shows 9600 for them.
TEST(SerialPort, TheLastBytesOfAnExchangeCrossTheWireBeforeThePortChangesOrCloses) {
    const struct {
        const char* command;
        int lastBytes;  // the clock block, the information request's last ESC ACK
        int exit;       // a fresh device holds no project: the information fails, after its ESC ACK
    } cases[] = {{"clock", 64, 0}, {"info", 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        QTemporaryDir folder;
        const QString log = folder.filePath("line.log");
        {
            QorsimProcess sim({"--baud", "57600", "--idle-baud", "9600", "--line-log", log});
            ASSERT_FALSE(sim.path().isEmpty());
            QProcess vemctl;
            vemctl.setWorkingDirectory(folder.path());
            vemctl.start(VEMCTL_PATH, {c.command, "--port", sim.path(), "--language", VEM_DATA_DIR "/language-en.txt"});
            ASSERT_TRUE(vemctl.waitForFinished(30000));
            EXPECT_EQ(vemctl.exitCode(), c.exit) << vemctl.readAllStandardError().toStdString();
        }  // qorsim records what is still on the wire, then ends
        const auto bytes = lineLog(log);
        ASSERT_GE(bytes.size(), static_cast<std::size_t>(c.lastBytes));
        for (auto b = bytes.end() - c.lastBytes; b != bytes.end(); ++b)
            EXPECT_EQ(b->second, 57600) << "byte " << (b - bytes.begin()) << " of " << bytes.size();
    }
}

}  // namespace
