// vemctl's progress bars on a narrow terminal.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <QRegularExpression>

#include "VemctlRun.h"

namespace {

using vem::test::QorsimProcess;
using VemctlProgress = vem::test::VemctlFolder;

// Three devices with long paths, as /dev/serial/by-id gives them: on an 80-column terminal each
// bar line fits, so none wraps and the redraw never scrolls; where no bar fits, plain lines.
TEST_F(VemctlProgress, BarsOfSeveralDevicesFitANarrowTerminal) {
    const QString longName = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0-";
    QStringList arguments{"verify", "default.qor", "--language", VEM_DATA_DIR "/language-en.txt"};
    std::vector<std::unique_ptr<QorsimProcess>> devices;
    for (int n = 0; n < 3; ++n) {
        devices.push_back(std::make_unique<QorsimProcess>());
        const QString link = path(longName + QString::number(n));
        ASSERT_TRUE(QFile::link(devices.back()->path(), link));
        arguments << "--port" << link;
    }
    for (const unsigned short columns : {80, 21}) {
        SCOPED_TRACE(columns);
        int master = -1, slave = -1;
        char name[256] = {};
        winsize size{};
        size.ws_col = columns;
        size.ws_row = 24;
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, &size), 0);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        QProcess p;
        p.setWorkingDirectory(folder.path());
        p.setStandardErrorFile(QString::fromLocal8Bit(name));
        p.start(VEMCTL_PATH, arguments);
        QByteArray shown;
        const auto drain = [&] {
            char buffer[4096];
            for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
        };
        while (!p.waitForFinished(20)) drain();
        drain();
        ::close(slave);
        ::close(master);
        EXPECT_EQ(p.exitCode(), 1);  // qorsim starts empty
        const QString text = QString::fromUtf8(shown).remove(QRegularExpression("\x1b\\[[0-9]*[AK]"));
        const QRegularExpression bar("\\[[#.]+\\] \\d+/268 $");
        int bars = 0;
        for (const QString& line : text.split(QRegularExpression("[\r\n]"))) {
            if (!line.contains(bar)) continue;  // messages may wrap: they are written once
            ++bars;
            EXPECT_LT(line.size(), columns) << line.toStdString();
        }
        if (columns < 80) {
            EXPECT_EQ(bars, 0);
            EXPECT_TRUE(text.contains(": 268/268")) << text.toStdString();
            continue;
        }
        EXPECT_TRUE(text.contains("...")) << text.toStdString();
        EXPECT_TRUE(text.contains("port0-2  ")) << text.toStdString();
        EXPECT_GT(bars, 3);
    }
}

}  // namespace
