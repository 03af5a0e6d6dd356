#pragma once
#include <QString>

namespace vem {

class PortRegistry;
class SerialPort;

// The chosen port and its line settings, kept between starts: the configuration text and the
// port's device path (port numbers depend on the order ports are first seen).
void savePortSettings(const SerialPort& serial, const PortRegistry& ports);
// At start, after the serial port has its program defaults. A stored port that is absent keeps
// the default port; so does a port named in VEM_PORT, which wins over the stored one.
void restorePortSettings(SerialPort& serial, PortRegistry& ports);

}  // namespace vem
