#include "settings/SettingsSummary.h"

#include "settings/InterfaceRules.h"
#include "settings/SettingsRules.h"

namespace vem {

InterfaceSummary interfaceSummary(const DeviceSettings& s) {
    InterfaceSummary out;
    out.handshake = listText(HandshakeNames, s.DeviceHandshake);
    out.dataFormat = listText(DataFormatNames, s.DeviceDataFormat);
    out.baudRate = listText(BaudRateNames, s.DeviceBaudIndex);
    out.address = dottedAddress(s.IpAddress);
    out.port = std::to_string(s.IpPort);
    return out;
}

}  // namespace vem
