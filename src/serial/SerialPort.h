#pragma once
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QDeadlineTimer>
#include <QTimer>
#include <cstdint>

#include "serialline/SerialLine.h"

namespace vem {

class PortRegistry;

// Line settings QSerialPort cannot express on any port.
enum class LineRefusal { None, FourDataBits, DtrDsrHandshake, RtsCtsWithXOnXOff };
LineRefusal lineRefusal(const SerialLine& line);

// One port of the registry: line settings, reads and writes, bytesArrived on the UI thread.
class SerialPort : public QObject {
    Q_OBJECT
public:
    explicit SerialPort(PortRegistry& registry, QObject* parent = nullptr);
    ~SerialPort() override;  // closes the port at once

    // The registry's number of the port; taken only when 0 or a port the registry lists,
    // otherwise the old number stays.
    int portNumber() const { return portNumber_; }
    void setPortNumber(int number);
    // Settings take effect at the next open.
    const SerialLine& line() const { return line_; }
    SerialLine& line() { return line_; }

    // Opens a closed port; one that cannot be opened stays closed and openProblem() tells why.
    // A port still closing is taken back as it is, with the line settings of now.
    bool open();
    // Closes an open port at once for reads and writes; the device itself is let go (and its
    // line settings restored) once what was written has left it, or after at most two seconds.
    // Meanwhile the event loop runs on.
    void close();
    bool isOpen() const { return port_ != nullptr; }
    // Closed, but what was written is still leaving.
    bool isClosing() const { return closing_ != nullptr; }
    OpenProblem openProblem() const { return problem_; }
    // The device has gone: closed without the usual steps, then `removed`. Once per open.
    void panicClose();

    // Bytes waiting to be read / still to be sent; 0 when closed.
    qint64 bytesAvailable();
    qint64 bytesToWrite();
    // Queues the bytes and returns how many it took; it never waits for them to leave.
    qint64 write(const char* data, qint64 count);
    qint64 write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Everything waiting; never waits.
    QByteArray readAll();

signals:
    // Once per arrival wake, never from inside write(); it may find any number of bytes, even none.
    void bytesArrived();
    void removed();

private:
    void release(QPointer<QSerialPort>& port);
    void fetch();
    void onReadyRead();
    void onPortError(QSerialPort* port, QSerialPort::SerialPortError error);
    void raiseDeferred();
    // Bytes the port still holds: Qt's buffer and the driver's queue.
    static qint64 queuedBytes(QSerialPort& port);
    // Milliseconds until every byte written has left the closing port at its line rate; 0 when
    // nothing is on its way.
    int msUntilDrained();
    // Lets the closing port go once drained or out of time; otherwise looks again when it may be.
    void continueClosing();

    PortRegistry& registry_;
    int portNumber_ = 0;
    SerialLine line_;
    QPointer<QSerialPort> port_;  // set exactly while open
    QPointer<QSerialPort> closing_;  // closed, still draining
    int closingNumber_ = 0;
    QTimer drainTimer_;
    QDeadlineTimer drainCap_;
    QByteArray rx_;               // bytes taken from the port, not yet read by the caller
    OpenProblem problem_;
    int writing_ = 0;             // inside write(): events wait until it returns
    bool rxPending_ = false;
    bool removedPending_ = false;
    // When the last byte written will have left the wire, on the steady clock (microseconds); a
    // reply brings it to its arrival.
    std::int64_t lineFreeAtUs_ = 0;
};

}  // namespace vem
