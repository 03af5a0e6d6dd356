#pragma once
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <cstdint>
#include <functional>
#include <string>

#include "device/SerialLine.h"

namespace vem {

// Line settings QSerialPort cannot express on any port.
enum class LineRefusal { None, FourDataBits, DtrDsrHandshake, RtsCtsWithXOnXOff };
LineRefusal lineRefusal(const SerialLine& line);

// A serial port opened and closed through Active, numbered by COMManager.
class TCustomSerial : public QObject {
    Q_OBJECT
public:
    explicit TCustomSerial(QObject* owner = nullptr);
    ~TCustomSerial() override;

    bool Active() const { return active_; }
    int COMPort() const { return comPort_; }
    // Taken only when 0 or a port COMManager lists; otherwise the old number stays.
    void SetCOMPort(int port);
    // Chooses the port of entry index of COMManager's list; an invalid index does nothing.
    void PortByIndex(int index);

    // The device has gone: closed without the usual steps, then OnCOMRemoved. Once per open.
    virtual void PanicClose();
    std::function<void(TCustomSerial&)> OnCOMRemoved;

protected:
    bool active_ = false;
    int comPort_ = 0;
};

// The port itself: line settings, reads and writes, OnRxChar on the UI thread.
class TSerial : public TCustomSerial {
    Q_OBJECT
public:
    explicit TSerial(QObject* owner = nullptr);
    ~TSerial() override;  // closes the port

    // true opens a closed port, false closes an open one; a port that cannot be opened stays
    // closed and LastOpenProblem() tells why.
    void SetActive(bool on);
    bool OpenComm();
    void CloseComm();
    void PanicClose() override;
    OpenProblem LastOpenProblem() const { return problem_; }

    // Settings take effect at the next open.
    const SerialLine& Line() const { return line_; }
    SerialLine& Line() { return line_; }

    // Bytes waiting to be read / still to be sent; 0 when closed.
    int GetBufRec();
    int GetBufTrm();
    void DataInBuffer(int& rec, int& trm);

    // Returns the bytes written; with SyncWait only once they have left (bounded wait).
    unsigned TData(const void* buffer, unsigned count);
    // Takes up to count waiting bytes; never waits.
    unsigned RData(void* buffer, unsigned count);
    unsigned TText(const std::string& text);
    std::string RText();  // everything waiting

    bool GetCanTransmitt();
    bool Purge(bool txAbort, bool rxAbort, bool txClear, bool rxClear);

    // Once per arrival wake on the UI thread; it may find any number of bytes, even none.
    std::function<void(TSerial&)> OnRxChar;
    // After OnRxChar when at least DataSize bytes wait.
    std::function<void(TSerial&)> OnData;

private:
    bool OpenIt();
    void CloseIt();
    void release();
    void fetch();
    void arrived();
    void portError(QSerialPort::SerialPortError error);
    void raiseDeferred();
    // Milliseconds until every byte written has left the port at its line rate; 0 when nothing
    // is on its way. A close waits for this, bounded.
    int MsUntilDrained();
    void drain();

    SerialLine line_;
    QPointer<QSerialPort> port_;  // set exactly while open
    QByteArray rx_;               // bytes taken from the port, not yet read by the caller
    OpenProblem problem_;
    int writing_ = 0;             // inside TData: events wait until it returns
    bool rxPending_ = false;
    bool removedPending_ = false;
    // When the last byte written will have left the wire, on the steady clock (microseconds).
    std::int64_t lineFreeAtUs_ = 0;
};

}  // namespace vem
