#include "ui/port/PortSettingsFlow.h"

#include "ui/port/PortMemory.h"
#include "ui/port/PortSettingsDialog.h"
#include "serial/SerialPort.h"

namespace vem {

bool PortSettingsFlow::edit(SerialPort& serial) {
    PortSettings p;
    p.port = serial.portNumber();
    p.line = serial.line();
    p.recSize = serial.line().BufSizeRec();
    p.trmSize = serial.line().BufSizeTrm();
    {
        PortSettingsDialog form(ports_, messages_, parent_);
        if (!form.choose(p)) return false;
    }
    serial.setPortNumber(p.port);
    SerialLine& l = serial.line();
    l.Baudrate = p.line.Baudrate;
    l.DataBits = p.line.DataBits;
    l.SetParityBit(p.line.ParityBit);
    l.StopBits = p.line.StopBits;
    l.HandshakeRtsCts = p.line.HandshakeRtsCts;
    l.HandshakeDtrDsr = p.line.HandshakeDtrDsr;
    l.HandshakeXOnXOff = p.line.HandshakeXOnXOff;
    l.SetBufSizeRec(p.recSize);
    l.SetBufSizeTrm(p.trmSize);
    return true;
}

bool PortSettingsFlow::editAndReopen(SerialPort& serial) {
    serial.close();
    const bool taken = edit(serial);
    // Settings this port cannot take would otherwise fail without a word until the next use,
    // and after every start.
    const bool refused = !serial.open() && serial.openProblem().reason == OpenFailure::UnsupportedSetting;
    if (taken && !refused) savePortSettings(serial, ports_);
    return refused;
}

}  // namespace vem
