#include "ui/port/PortSettingsFlow.h"

#include "ui/port/PortMemory.h"
#include "ui/port/PortSettingsDialog.h"
#include "serial/Serial.h"

namespace vem {

bool PortSettingsFlow::Execute(TSerial& serial) {
    PortSettings p;
    p.port = serial.COMPort();
    p.line = serial.Line();
    p.recSize = serial.Line().BufSizeRec();
    p.trmSize = serial.Line().BufSizeTrm();
    {
        PortSettingsDialog form(messages_, parent_);
        if (!form.CommConfigDialogEx(p)) return false;
    }
    serial.SetCOMPort(p.port);
    SerialLine& l = serial.Line();
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

bool PortSettingsFlow::RunAndReopen(TSerial& serial) {
    serial.SetActive(false);
    const bool taken = Execute(serial);
    try {
        serial.SetActive(true);
    } catch (...) {
        serial.SetActive(false);
        return true;
    }
    // Settings this port cannot take would otherwise fail without a word until the next use,
    // and after every start.
    const bool refused = !serial.Active() && serial.LastOpenProblem().reason == OpenFailure::UnsupportedSetting;
    if (taken && !refused) savePortSettings(serial);
    return refused;
}

}  // namespace vem
