#include "settings/SettingsSummary.h"

#include "settings/InterfaceRules.h"
#include "settings/SettingsRules.h"

namespace vem {

InterfaceSummary interfaceSummary(const DeviceSettings& s) {
    InterfaceSummary out;
    out.handshake = listText(HandshakeNames, s.DeviceHandshake);
    out.dataFormat = listText(DataFormatNames, s.DeviceDataFormat);
    out.baudRate = listText(BaudRateNames, s.DeviceBaudIndex);
    out.address = std::to_string(s.IpAddress[0]) + "." + std::to_string(s.IpAddress[1]) + "." +
                  std::to_string(s.IpAddress[2]) + "." + std::to_string(s.IpAddress[3]);
    out.port = std::to_string(s.IpPort);
    return out;
}

HoldTimesSummary holdTimesSummary(const DeviceSettings& s) {
    return {std::to_string(s.DataHoldSeconds), std::to_string(s.RelayHoldSeconds)};
}

}  // namespace vem
