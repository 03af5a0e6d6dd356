#pragma once
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "host/SessionLink.h"
#include "i18n/LanguageFile.h"
#include "serial/SerialPort.h"
#include "session/Session.h"
#include "session/Station.h"

namespace vem {

class PortRegistry;

// What every run of a station works with: the project as opened, and the line's settings.
struct StationProject {
    Project project;
    DeviceImage image;      // the project's image with its template
    DeviceImage expected;   // the image built from it, as a device that holds the project holds it
    std::optional<LanguageFile> language;
    TBaudrate baud = TBaudrate::br_057600;
    int replyTimeoutMs = ReplyTimeoutMs;
    bool always = false;    // program even a device that holds the project already
};

// One attempt on one device, on a session and serial port of its own: the device is read back
// and compared with the project; one that does not hold it is programmed and verified (the
// window's "Programmieren"). Several runs share one event loop.
class StationRun : public QObject {
    Q_OBJECT
public:
    StationRun(const StationProject& project, const QString& path, PortRegistry& ports);

    void start();
    // The process is asked to end: the exchange is abandoned and the run ends failed.
    void interrupt();
    bool hasEnded() const { return ended_; }
    bool portClosed() const { return !serial_.isOpen() && !serial_.isClosing(); }
    const DeviceOperations::Progress& progress() const { return session_.device().progress(); }
    // The image the device was left to hold: what was sent, what it held already, or else what
    // was to be sent.
    const DeviceImage& resultImage() const { return resultImage_; }

signals:
    void progressed();
    void ended(const vem::StationRunEnd& end);

private:
    enum class Phase { Checking, Programming };
    void onOutcome(const Outcome& outcome);
    void compareHeld();
    void program();
    void finish(StationRunEnd end);
    void fail(const Outcome& outcome);
    std::string stepName() const;

    const StationProject& project_;
    Session session_;
    SerialPort serial_;
    SessionLink link_;
    std::string port_;
    Phase phase_ = Phase::Checking;
    bool ended_ = false;
    DeviceImage resultImage_;
};

}  // namespace vem
