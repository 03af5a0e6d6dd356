#include "port/TSerExtDlg.h"

#include "port/PortMemory.h"
#include "port/TFormCOMSetup.h"
#include "serial/Serial.h"

namespace vem {

bool TSerExtDlg::Execute(TSerial& serial) {
    TCOMExtParams p;
    p.port = serial.COMPort();
    p.line = serial.Line();
    p.recSize = serial.Line().BufSizeRec();
    p.trmSize = serial.Line().BufSizeTrm();
    {
        TFormCOMSetup form(parent_);
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
    savePortSettings(serial);
    return true;
}

bool TSerExtDlg::RunAndReopen(TSerial& serial) {
    serial.SetActive(false);
    Execute(serial);
    try {
        serial.SetActive(true);
    } catch (...) {
        serial.SetActive(false);
        return true;
    }
    // Settings this port cannot take would otherwise fail without a word until the next use.
    return !serial.Active() && serial.LastOpenProblem().reason == OpenFailure::UnsupportedSetting;
}

}  // namespace vem
