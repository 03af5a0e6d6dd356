#pragma once

class QWidget;

namespace vem {

class MessageTable;
class PortRegistry;
class SerialPort;

// Runs the PC port dialog on a serial port.
class PortSettingsFlow {
public:
    PortSettingsFlow(PortRegistry& ports, const MessageTable& messages, QWidget* parent)
        : ports_(ports), messages_(messages), parent_(parent) {}

    // Shows "Einstellungen" filled from serial. On "&Ok" the port and line settings are set
    // through the port's setters; returns true. The port is not reopened here.
    bool edit(SerialPort& serial);

    // The "&PC Comport" menu: closes the port, runs edit, opens the port again (also after a
    // cancel). Settings taken on "&Ok" are remembered for the next start unless the port
    // refuses them. True when the reopening failed in a way message slot 0 must tell.
    bool editAndReopen(SerialPort& serial);

private:
    PortRegistry& ports_;
    const MessageTable& messages_;
    QWidget* parent_;
};

}  // namespace vem
