// vemctl against qorsim devices pacing at 57600 baud on pseudo-terminals: programming 1, 2, 4
// and 8 devices at once (total time and its ratio to one device), one such device beside seven
// that take bytes instantly (its ratio to the paced device alone), and a read-back and a
// firmware upload of one device against the time the wire needs. Each figure is the whole
// vemctl run, from its start to its end.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr double BitsPerSecond = 57600.0;
// Bytes out and in at 10 bits a byte.
constexpr double ReadBackWire = (538.0 + 17216.0) * 10.0 / BitsPerSecond;
constexpr double FirmwareWire = (32783.0 + 1026.0) * 10.0 / BitsPerSecond;
// The protocol waits this long after an upload's last block before the port closes.
constexpr double CloseWaitSeconds = 1.0;

struct Device {
    QProcess process;
    QString path;
};

const QStringList Paced{"--baud", "57600"};
const QStringList Instant{};

std::unique_ptr<Device> startDevice(const QStringList& arguments) {
    auto d = std::make_unique<Device>();
    d->process.start(QORSIM_PATH, arguments);
    if (!d->process.waitForStarted(5000) || !QTest::qWaitFor([&] { return d->process.canReadLine(); }, 5000))
        return nullptr;
    d->path = QString::fromLocal8Bit(d->process.readLine()).trimmed();
    return d;
}

// Seconds of one vemctl run on fresh devices, one started with each of `kinds`, or -1 when it failed.
double timeVemctl(QStringList arguments, const std::vector<QStringList>& kinds, const QString& folder) {
    std::vector<std::unique_ptr<Device>> devices;
    for (const QStringList& kind : kinds) {
        devices.push_back(startDevice(kind));
        if (!devices.back()) return -1;
        arguments << "--port" << devices.back()->path;
    }
    QProcess vemctl;
    vemctl.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    vemctl.start(VEMCTL_PATH, arguments << "--quiet");
    if (!vemctl.waitForFinished(120000) || vemctl.exitCode() != 0) {
        std::fprintf(stderr, "bench: %s\n", vemctl.readAllStandardError().constData());
        return -1;
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    for (auto& d : devices) {
        d->process.terminate();
        d->process.waitForFinished(5000);
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    for (const char* name : {"default.qor", "default.bin"})
        QFile::copy(QString(VEM_DATA_DIR "/") + name, folder.filePath(name));
    QFile firmware(folder.filePath("firmware.ldr"));
    if (!firmware.open(QIODevice::WriteOnly) || firmware.write(QByteArray(32767, '\x42')) != 32767) return 1;
    firmware.close();

    double one = 0;
    for (int count : {1, 2, 4, 8}) {
        const double seconds = timeVemctl({"program", "default.qor", "--no-verify"},
                                          std::vector<QStringList>(count, Paced), folder.path());
        if (seconds < 0) return 1;
        if (count == 1) one = seconds;
        std::printf("programming %d device(s) at once: %.2f s, %.3f times one device\n", count, seconds, seconds / one);
    }
    std::vector<QStringList> mixed(8, Instant);
    mixed.front() = Paced;
    const double beside = timeVemctl({"program", "default.qor", "--no-verify"}, mixed, folder.path());
    if (beside < 0) return 1;
    std::printf("programming 1 paced device beside 7 instant ones: %.2f s, %.3f times the paced device alone\n",
                beside, beside / one);
    const double read = timeVemctl({"read", "-o", "copy.qor", "--force"}, {Paced}, folder.path());
    const double upload = timeVemctl({"upload-firmware", "firmware.ldr"}, {Paced}, folder.path());
    if (read < 0 || upload < 0) return 1;
    std::printf("read-back: %.2f s, %.3f times the wire's %.2f s\n", read, read / ReadBackWire, ReadBackWire);
    std::printf("firmware upload: %.2f s, %.3f times the wire's %.2f s (%.3f without the 1 s wait before closing)\n",
                upload, upload / FirmwareWire, FirmwareWire, (upload - CloseWaitSeconds) / FirmwareWire);
    return 0;
}
