#include "serial/SerialPort.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <utility>

#include "serial/PortRegistry.h"
#include "serial/PortPath.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#endif
#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace vem {

namespace {

QSerialPort::Parity qtParity(TParityBit p) {
    switch (p) {
    case TParityBit::odd: return QSerialPort::OddParity;
    case TParityBit::even: return QSerialPort::EvenParity;
    case TParityBit::mark: return QSerialPort::MarkParity;
    case TParityBit::space: return QSerialPort::SpaceParity;
    case TParityBit::none: break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(TStopBits s) {
    switch (s) {
    case TStopBits::sb_15: return QSerialPort::OneAndHalfStop;
    case TStopBits::sb_2: return QSerialPort::TwoStop;
    case TStopBits::sb_1: break;
    }
    return QSerialPort::OneStop;
}

bool configure(QSerialPort& port, const SerialLine& line) {
    const auto flow = line.HandshakeRtsCts    ? QSerialPort::HardwareControl
                      : line.HandshakeXOnXOff ? QSerialPort::SoftwareControl
                                              : QSerialPort::NoFlowControl;
    if (!port.setBaudRate(static_cast<qint32>(baudRate(line.Baudrate))) ||
        !port.setDataBits(static_cast<QSerialPort::DataBits>(dataBitCount(line.DataBits))) ||
        !port.setParity(qtParity(line.ParityBit)) || !port.setStopBits(qtStopBits(line.StopBits)) ||
        !port.setFlowControl(flow))
        return false;
    // Modem lines a pseudo-terminal does not have are no reason to refuse the port.
    if (!line.HandshakeRtsCts) port.setRequestToSend(line.RTSActive);
    port.setDataTerminalReady(line.DTRActive);
#ifdef Q_OS_UNIX
    termios t{};
    if (line.HandshakeXOnXOff && ::tcgetattr(port.handle(), &t) == 0) {
        t.c_cc[VSTART] = static_cast<cc_t>(line.XOnChar);
        t.c_cc[VSTOP] = static_cast<cc_t>(line.XOffChar);
        ::tcsetattr(port.handle(), TCSANOW, &t);
    }
#endif
#ifdef Q_OS_LINUX
    // USB adapters otherwise hold short replies for their latency timer; a pty refuses.
    serial_struct ss{};
    if (::ioctl(port.handle(), TIOCGSERIAL, &ss) == 0 && !(ss.flags & ASYNC_LOW_LATENCY)) {
        ss.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(port.handle(), TIOCSSERIAL, &ss);
    }
#endif
    port.clearError();
    return true;
}

std::int64_t steadyMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Microseconds `count` characters take on the wire: start bit, data, parity and stop bits each.
std::int64_t wireMicros(const SerialLine& line, std::int64_t count) {
    const double bits = 1 + dataBitCount(line.DataBits) + (line.ParityBit == TParityBit::none ? 0 : 1) +
                        (line.StopBits == TStopBits::sb_1 ? 1 : line.StopBits == TStopBits::sb_15 ? 1.5 : 2);
    return static_cast<std::int64_t>(count * bits * 1e6 / baudRate(line.Baudrate)) + 1;
}

// The longest a closing port waits for its output to leave, when a stopped handshake holds it back.
constexpr int DrainCapMs = 2000;
// Added to the line time of what was written: a USB adapter holds bytes in its own buffer
// after the kernel has stopped counting them.
constexpr std::int64_t LeaveMarginUs = 20'000;

OpenFailure failureOf(QSerialPort::SerialPortError error, [[maybe_unused]] const QString& location) {
#ifdef Q_OS_UNIX
    if (!QFileInfo::exists(location)) return OpenFailure::Absent;
#endif
    switch (error) {
    case QSerialPort::DeviceNotFoundError: return OpenFailure::Absent;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // Qt reports a lock held by another program the same way as a refused device.
        if (::access(QFile::encodeName(location).constData(), R_OK | W_OK) != 0 && errno == EACCES)
            return OpenFailure::NoPermission;
#endif
        return OpenFailure::Busy;
    case QSerialPort::UnsupportedOperationError: return OpenFailure::UnsupportedSetting;
    default: return OpenFailure::Other;
    }
}

}  // namespace

LineRefusal lineRefusal(const SerialLine& line) {
    if (line.DataBits == TDataBits::db_4) return LineRefusal::FourDataBits;
    if (line.HandshakeDtrDsr) return LineRefusal::DtrDsrHandshake;
    if (line.HandshakeRtsCts && line.HandshakeXOnXOff) return LineRefusal::RtsCtsWithXOnXOff;
    return LineRefusal::None;
}

SerialPort::SerialPort(PortRegistry& registry, QObject* parent)
    : QObject(parent), registry_(registry), portNumber_(registry.defaultPort()) {
    connect(&registry_, &PortRegistry::portsRemoved, this, [this] {
        if (isOpen() && !registry_.contains(portNumber_)) panicClose();
    });
    drainTimer_.setSingleShot(true);
    connect(&drainTimer_, &QTimer::timeout, this, &SerialPort::continueClosing);
}

SerialPort::~SerialPort() {
    release(port_);
    release(closing_);
}

void SerialPort::setPortNumber(int number) {
    if (number == 0 || registry_.contains(number)) portNumber_ = number;
}

bool SerialPort::open() {
    if (isOpen()) return false;
    if (closing_ && closingNumber_ == portNumber_ && configure(*closing_, line_)) {
        drainTimer_.stop();
        port_ = std::exchange(closing_, nullptr);
        port_->clear(QSerialPort::Input);  // what came meanwhile answers nothing of the new exchange
        connect(port_, &QSerialPort::readyRead, this, &SerialPort::onReadyRead);
        problem_ = {OpenFailure::None, registry_.locationOf(portNumber_).toStdString()};
        return true;
    }
    release(closing_);  // another port, or these settings cannot be taken while open
    const QString location = registry_.locationOf(portNumber_);
    problem_ = {OpenFailure::Absent, location.toStdString()};
    if (portNumber_ <= 0 || !registry_.contains(portNumber_)) return false;
    // Nothing is opened, let alone written, that is no serial line.
    if (const PortPathFault fault = portPathFault(location); fault != PortPathFault::None) {
        problem_.reason = fault == PortPathFault::Absent ? OpenFailure::Absent : OpenFailure::NotASerialPort;
        return false;
    }
    if (lineRefusal(line_) != LineRefusal::None) {
        problem_.reason = OpenFailure::UnsupportedSetting;
        return false;
    }
#ifdef Q_OS_UNIX
    // Through a link too, so that the lock Qt takes carries the device's own name.
    auto* port = new QSerialPort(portDevice(location), this);
#else
    auto* port = new QSerialPort(location, this);
#endif
    if (!port->open(QIODevice::ReadWrite)) {
        problem_.reason = failureOf(port->error(), location);
        delete port;
        return false;
    }
    if (!configure(*port, line_)) {
        problem_.reason = OpenFailure::UnsupportedSetting;
        port->close();
        delete port;
        return false;
    }
    port->clear();  // Qt keeps what arrived before the open
    connect(port, &QSerialPort::readyRead, this, &SerialPort::onReadyRead);
    connect(port, &QSerialPort::errorOccurred, this,
            [this, port](QSerialPort::SerialPortError error) { onPortError(port, error); });
    port_ = port;
    rx_.clear();
    lineFreeAtUs_ = 0;
    problem_.reason = OpenFailure::None;
    return true;
}

void SerialPort::release(QPointer<QSerialPort>& port) {
    if (!port) return;
    QSerialPort* released = std::exchange(port, nullptr);
    disconnect(released, nullptr, this, nullptr);
    released->close();  // restores the line settings it had before and gives up the lock
    released->deleteLater();  // we may be inside one of its signals
}

void SerialPort::close() {
    if (!isOpen()) return;
    release(closing_);
    closing_ = std::exchange(port_, nullptr);
    closingNumber_ = portNumber_;
    disconnect(closing_, &QSerialPort::readyRead, this, nullptr);
    rx_.clear();
    drainCap_ = QDeadlineTimer(DrainCapMs);
    continueClosing();
}

// Closing restores the line settings the port had before: not while bytes are still leaving.
void SerialPort::continueClosing() {
    const int left = msUntilDrained();
    if (left > 0 && !drainCap_.hasExpired()) {
        drainTimer_.start(static_cast<int>(std::min<qint64>(left, std::max<qint64>(1, drainCap_.remainingTime()))));
        return;
    }
    drainTimer_.stop();
    release(closing_);
}

int SerialPort::msUntilDrained() {
    if (!closing_) return 0;
    const std::int64_t lineUs = lineFreeAtUs_ + LeaveMarginUs - steadyMicros();
    const qint64 queued = queuedBytes(*closing_);
    if (lineUs <= 0 && queued == 0) return 0;
    const std::int64_t us = std::max(lineUs, queued > 0 ? wireMicros(line_, queued) : std::int64_t{0});
    return static_cast<int>(std::max<std::int64_t>(1, (us + 999) / 1000));
}

void SerialPort::panicClose() {
    if (!isOpen()) return;
    release(port_);
    rx_.clear();
    if (writing_ == 0)
        emit removed();
    else
        removedPending_ = true;
}

void SerialPort::onPortError(QSerialPort* port, QSerialPort::SerialPortError error) {
    // Qt 6.4 repeats a read error of a vanished device endlessly: the first one closes.
    if (error != QSerialPort::ReadError && error != QSerialPort::WriteError && error != QSerialPort::ResourceError)
        return;
    if (port == closing_)
        release(closing_);  // nothing leaves any more
    else if (port == port_)
        panicClose();
}

void SerialPort::fetch() {
    if (!port_ || port_->bytesAvailable() == 0) return;
    rx_.append(port_->readAll());
    // A reply with nothing queued behind it: the device has taken every byte written so far, and
    // only bytes written from now on can still be on the line.
    if (queuedBytes(*port_) == 0) lineFreeAtUs_ = std::min(lineFreeAtUs_, steadyMicros());
}

void SerialPort::onReadyRead() {
    fetch();
    if (writing_ > 0) {
        rxPending_ = true;  // raised once write() has returned
        return;
    }
    if (line_.EnableEvents) emit bytesArrived();
}

void SerialPort::raiseDeferred() {
    if (writing_ > 0) return;
    if (std::exchange(removedPending_, false)) emit removed();
    if (std::exchange(rxPending_, false)) onReadyRead();
}

qint64 SerialPort::bytesAvailable() {
    if (!port_) return 0;
    fetch();
    return rx_.size();
}

qint64 SerialPort::bytesToWrite() { return port_ ? queuedBytes(*port_) : 0; }

qint64 SerialPort::queuedBytes(QSerialPort& port) {
    qint64 n = port.bytesToWrite();
#ifdef Q_OS_LINUX
    int queued = 0;
    if (::ioctl(port.handle(), TIOCOUTQ, &queued) == 0) n += queued;
#endif
    return n;
}

qint64 SerialPort::write(const char* data, qint64 count) {
    if (!port_ || count <= 0) return 0;
    ++writing_;
    // Queued, never waited for: the close waits for the line as a deadline of its own.
    const qint64 sent = port_->write(data, count);
    if (sent > 0) lineFreeAtUs_ = std::max(lineFreeAtUs_, steadyMicros()) + wireMicros(line_, sent);
    --writing_;
    if (writing_ == 0 && (rxPending_ || removedPending_))
        QMetaObject::invokeMethod(this, &SerialPort::raiseDeferred, Qt::QueuedConnection);
    return std::max<qint64>(sent, 0);
}

QByteArray SerialPort::readAll() {
    fetch();
    return std::exchange(rx_, QByteArray());
}

}  // namespace vem
