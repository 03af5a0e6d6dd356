#pragma once

class QWidget;

namespace vem {

class MessageTable;
class TSerial;

// Runs the PC port dialog on a serial component.
class PortSettingsFlow {
public:
    PortSettingsFlow(const MessageTable& messages, QWidget* parent) : messages_(messages), parent_(parent) {}

    // Shows "Einstellungen" filled from serial. On "&Ok" the port and line settings are set
    // through the component's setters; returns true. The port is not reopened here.
    bool Execute(TSerial& serial);

    // The "&PC Comport" menu: closes the port, runs Execute, opens the port again (also after a
    // cancel). Settings taken on "&Ok" are remembered for the next start unless the port
    // refuses them. True when the reopening failed in a way message slot 0 must tell.
    bool RunAndReopen(TSerial& serial);

private:
    const MessageTable& messages_;
    QWidget* parent_;
};

}  // namespace vem
