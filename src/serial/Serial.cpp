#include "serial/Serial.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

#include "serial/COMManager.h"
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

// The longest a close waits for output to leave, when a stopped handshake holds it back.
constexpr int DrainCapMs = 2000;
// Added to the line time of what was written: a USB adapter holds bytes in its own buffer
// after the kernel has stopped counting them.
constexpr std::int64_t LeaveMarginUs = 20'000;

OpenFailure failureOf(QSerialPort::SerialPortError error, const QString& location) {
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

// ---- TCustomSerial ----

TCustomSerial::TCustomSerial(QObject* owner)
    : QObject(owner), comPort_(COMManager().DefaultPort()) {}

TCustomSerial::~TCustomSerial() {
    if (TCOMManager* m = existingCOMManager()) m->Forget(*this);
}

void TCustomSerial::SetCOMPort(int port) {
    if (port == 0 || COMManager().PortExists(port)) comPort_ = port;
}

void TCustomSerial::PortByIndex(int index) {
    const TCOMManager& m = COMManager();
    if (index >= 0 && index < m.count()) comPort_ = m.entry(index).number;
}

void TCustomSerial::PanicClose() {
    if (!active_) return;
    active_ = false;
    COMManager().AssignCOM(*this);
    if (auto handler = OnCOMRemoved) handler(*this);
}

// ---- TSerial ----

TSerial::TSerial(QObject* owner) : TCustomSerial(owner) {}

TSerial::~TSerial() { CloseIt(); }

void TSerial::SetActive(bool on) {
    if (on && !active_)
        OpenIt();
    else if (!on && active_)
        CloseIt();
}

bool TSerial::OpenComm() { return OpenIt(); }
void TSerial::CloseComm() { CloseIt(); }

bool TSerial::OpenIt() {
    if (active_) return false;
    TCOMManager& manager = COMManager();
    const QString location = manager.LocationOf(comPort_);
    problem_ = {OpenFailure::Absent, location.toStdString()};
    if (comPort_ <= 0 || !manager.PortExists(comPort_)) return false;
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
    const QString real = QFileInfo(location).canonicalFilePath();
    auto* port = new QSerialPort(real.isEmpty() ? location : real, this);
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
    connect(port, &QSerialPort::readyRead, this, &TSerial::arrived);
    connect(port, &QSerialPort::errorOccurred, this, &TSerial::portError);
    port_ = port;
    rx_.clear();
    problem_.reason = OpenFailure::None;
    active_ = true;
    manager.AssignCOM(*this);
    return true;
}

void TSerial::release() {
    if (!port_) return;
    QSerialPort* port = port_;
    port_ = nullptr;
    disconnect(port, nullptr, this, nullptr);
    port->close();
    port->deleteLater();  // we may be inside one of its signals
    rx_.clear();
}

void TSerial::CloseIt() {
    if (!active_) return;
    drain();
    release();
    active_ = false;
    if (TCOMManager* m = existingCOMManager()) m->AssignCOM(*this);
}

// Closing restores the line settings the port had before: not while bytes are still leaving.
void TSerial::drain() {
    const QDeadlineTimer cap(DrainCapMs);
    for (int left = MsUntilDrained(); left > 0 && port_ && !cap.hasExpired(); left = MsUntilDrained()) {
        if (port_->bytesToWrite() > 0)
            port_->waitForBytesWritten(left);
        else
            QThread::msleep(static_cast<unsigned long>(left));
    }
}

int TSerial::MsUntilDrained() {
    if (!port_) return 0;
    const std::int64_t lineUs = lineFreeAtUs_ + LeaveMarginUs - steadyMicros();
    const int queued = GetBufTrm();
    if (lineUs <= 0 && queued == 0) return 0;
    const std::int64_t us = std::max(lineUs, queued > 0 ? wireMicros(line_, queued) : std::int64_t{0});
    return static_cast<int>(std::max<std::int64_t>(1, (us + 999) / 1000));
}

void TSerial::PanicClose() {
    if (!active_) return;
    release();
    if (writing_ == 0) {
        TCustomSerial::PanicClose();
        return;
    }
    active_ = false;
    COMManager().AssignCOM(*this);
    removedPending_ = true;
}

void TSerial::portError(QSerialPort::SerialPortError error) {
    // Qt 6.4 repeats a read error of a vanished device endlessly: the first one closes.
    if (error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
        error == QSerialPort::ResourceError)
        PanicClose();
}

void TSerial::fetch() {
    if (port_ && port_->bytesAvailable() > 0) rx_.append(port_->readAll());
}

void TSerial::arrived() {
    fetch();
    if (writing_ > 0) {
        rxPending_ = true;  // raised once TData has returned
        return;
    }
    if (!line_.EnableEvents) return;
    if (auto handler = OnRxChar) handler(*this);
    if (auto handler = OnData; handler && line_.DataSize() > 0 && GetBufRec() >= line_.DataSize())
        handler(*this);
}

void TSerial::raiseDeferred() {
    if (writing_ > 0) return;
    if (std::exchange(removedPending_, false))
        if (auto handler = OnCOMRemoved) handler(*this);
    if (std::exchange(rxPending_, false)) arrived();
}

int TSerial::GetBufRec() {
    if (!port_) return 0;
    fetch();
    return static_cast<int>(rx_.size());
}

int TSerial::GetBufTrm() {
    if (!port_) return 0;
    qint64 n = port_->bytesToWrite();
#ifdef Q_OS_LINUX
    int queued = 0;
    if (::ioctl(port_->handle(), TIOCOUTQ, &queued) == 0) n += queued;
#endif
    return static_cast<int>(n);
}

void TSerial::DataInBuffer(int& rec, int& trm) {
    rec = GetBufRec();
    trm = GetBufTrm();
}

unsigned TSerial::TData(const void* buffer, unsigned count) {
    if (!port_ || count == 0) return 0;
    ++writing_;
    qint64 sent = port_->write(static_cast<const char*>(buffer), count);
    if (sent > 0 && line_.SyncWait) {
        const QDeadlineTimer deadline(writeWaitMs(line_, count));
        while (port_ && port_->bytesToWrite() > 0 && !deadline.hasExpired()) {
            const auto left = std::max<qint64>(1, deadline.remainingTime());
            if (!port_->waitForBytesWritten(static_cast<int>(left))) break;
        }
        if (!port_) {
            sent = 0;
        } else if (port_->bytesToWrite() > 0) {
            sent -= port_->bytesToWrite();
            port_->clear(QSerialPort::Output);  // what did not leave in time is not sent later
        }
    }
    if (sent > 0) lineFreeAtUs_ = std::max(lineFreeAtUs_, steadyMicros()) + wireMicros(line_, sent);
    --writing_;
    if (writing_ == 0 && (rxPending_ || removedPending_))
        QMetaObject::invokeMethod(this, &TSerial::raiseDeferred, Qt::QueuedConnection);
    return sent > 0 ? static_cast<unsigned>(sent) : 0;
}

unsigned TSerial::RData(void* buffer, unsigned count) {
    if (!port_ || count == 0) return 0;
    fetch();
    const qsizetype n = std::min<qsizetype>(count, rx_.size());
    std::memcpy(buffer, rx_.constData(), static_cast<std::size_t>(n));
    rx_.remove(0, n);
    return static_cast<unsigned>(n);
}

unsigned TSerial::TText(const std::string& text) {
    return TData(text.data(), static_cast<unsigned>(text.size()));
}

std::string TSerial::RText() {
    std::string text(static_cast<std::size_t>(GetBufRec()), '\0');
    text.resize(RData(text.data(), static_cast<unsigned>(text.size())));
    return text;
}

bool TSerial::GetCanTransmitt() {
    if (!port_) return false;
    if (!line_.HandshakeRtsCts && !line_.HandshakeDtrDsr) return true;
    const auto pins = port_->pinoutSignals();
    const bool cts = pins & QSerialPort::ClearToSendSignal;
    const bool dsr = pins & QSerialPort::DataSetReadySignal;
    if (line_.HandshakeRtsCts && line_.HandshakeDtrDsr) return cts && dsr;
    return line_.HandshakeRtsCts ? cts : dsr;
}

bool TSerial::Purge(bool txAbort, bool rxAbort, bool txClear, bool rxClear) {
    if (!port_) return false;
    bool ok = true;
    if (txAbort || txClear) ok = port_->clear(QSerialPort::Output) && ok;
    if (rxAbort || rxClear) {
        rx_.clear();
        ok = port_->clear(QSerialPort::Input) && ok;
    }
    return ok;
}

}  // namespace vem
