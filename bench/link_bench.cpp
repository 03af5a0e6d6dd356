// Programming over a pseudo-terminal: the real window, serial component and protocol against
// qorsim. Prints the host's time per exchange with an instant device, and the ratio of a
// programming run at 57600 baud to what the wire itself needs.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <cstdio>

#include "files/ImageBuild.h"
#include "ui/main/MainWindow.h"
#include "serial/PortRegistry.h"
#include "serial/SerialPort.h"

namespace {

constexpr int Exchanges = 271;
// 17,197 bytes out and 542 in at 10 bits a byte and 57600 bits/s.
constexpr double WireSeconds = (17197.0 + 542.0) * 10.0 / 57600.0;

// Seconds from "Programmieren" to the last acknowledgement, or -1.
double programOnce(const QStringList& qorsimArguments) {
    QProcess sim;
    sim.start(QORSIM_PATH, qorsimArguments);
    if (!sim.waitForStarted(5000) || !QTest::qWaitFor([&] { return sim.canReadLine(); }, 5000)) return -1;
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    vem::MainWindow window;
    window.presenter().setSink([](const vem::MessagePresenter::Shown&) {});
    window.ports().addDevicePath(path);
    window.serial().setPortNumber(window.ports().numberAt(path));
    QElapsedTimer clock;
    clock.start();
    // The programming exchange alone ("Programmieren" reads the device back after it).
    window.applyOutcome(window.session().device().startProgramming(path.toStdString(), vem::currentLocalTime()));
    // The event loop as the program runs it: woken by events, not by polling.
    QTimer wake;
    wake.start(100);
    while (window.session().device().exchangeRunning() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const bool done = !window.session().device().exchangeRunning();
    const double seconds = clock.nsecsElapsed() / 1e9;
    window.serial().close();
    sim.terminate();
    sim.waitForFinished(5000);
    return done && window.session().device().progress().position == vem::ProgramBlocks ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    for (const char* name : {"default.qor", "default.bin"})
        QFile::copy(QString(VEM_DATA_DIR "/") + name, folder.filePath(name));
    QDir::setCurrent(folder.path());

    const double instant = programOnce({});
    const double paced = programOnce({"--baud", "57600"});
    if (instant < 0 || paced < 0) {
        std::fprintf(stderr, "bench: a programming run failed\n");
        return 1;
    }
    std::printf("programming, instant device: %.3f ms per exchange on the host (%d exchanges, %.3f s)\n",
                instant * 1000.0 / Exchanges, Exchanges, instant);
    std::printf("programming at 57600 baud: %.3f s, %.3f times the wire's %.2f s\n", paced, paced / WireSeconds,
                WireSeconds);
    return 0;
}
