#pragma once

class QWidget;

namespace vem {

class TSerial;

// Runs the PC port dialog on a serial component.
class TSerExtDlg {
public:
    explicit TSerExtDlg(QWidget* parent = nullptr) : parent_(parent) {}

    // Shows "Einstellungen" filled from serial. On "&Ok" the port and line settings are set
    // through the component's setters and remembered for the next start; returns true.
    // The port is not reopened here.
    bool Execute(TSerial& serial);

    // The "&PC Comport" menu: closes the port, runs Execute, opens the port again (also after a
    // cancel). True when the reopening failed in a way message slot 0 must tell.
    bool RunAndReopen(TSerial& serial);

private:
    QWidget* parent_;
};

}  // namespace vem
