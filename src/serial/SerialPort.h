#pragma once
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <cstdint>

#include "device/SerialLine.h"

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
    ~SerialPort() override;  // closes the port

    // The registry's number of the port; taken only when 0 or a port the registry lists,
    // otherwise the old number stays.
    int portNumber() const { return portNumber_; }
    void setPortNumber(int number);
    // Settings take effect at the next open.
    const SerialLine& line() const { return line_; }
    SerialLine& line() { return line_; }

    // Opens a closed port; one that cannot be opened stays closed and openProblem() tells why.
    bool open();
    // Closes an open port once what was written has left it.
    void close();
    bool isOpen() const { return port_ != nullptr; }
    OpenProblem openProblem() const { return problem_; }
    // The device has gone: closed without the usual steps, then `removed`. Once per open.
    void panicClose();

    // Bytes waiting to be read / still to be sent; 0 when closed.
    qint64 bytesAvailable();
    qint64 bytesToWrite();
    // Returns the bytes written; with the line's SyncWait only once they have left (bounded wait).
    qint64 write(const char* data, qint64 count);
    qint64 write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Everything waiting; never waits.
    QByteArray readAll();

signals:
    // Once per arrival wake, never from inside write(); it may find any number of bytes, even none.
    void bytesArrived();
    void removed();

private:
    void release();
    void fetch();
    void onReadyRead();
    void onPortError(QSerialPort::SerialPortError error);
    void raiseDeferred();
    // Milliseconds until every byte written has left the port at its line rate; 0 when nothing
    // is on its way. A close waits for this, bounded.
    int msUntilDrained();
    void drain();

    PortRegistry& registry_;
    int portNumber_ = 0;
    SerialLine line_;
    QPointer<QSerialPort> port_;  // set exactly while open
    QByteArray rx_;               // bytes taken from the port, not yet read by the caller
    OpenProblem problem_;
    int writing_ = 0;             // inside write(): events wait until it returns
    bool rxPending_ = false;
    bool removedPending_ = false;
    // When the last byte written will have left the wire, on the steady clock (microseconds).
    std::int64_t lineFreeAtUs_ = 0;
};

}  // namespace vem
