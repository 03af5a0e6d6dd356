#pragma once
#include <array>
#include <string>

namespace vem {

// The device's own interfaces: serial line, network address, forwarding output and hold times.
struct DeviceSettings {
    int DataHoldSeconds = 3;
    int RelayHoldSeconds = 3;
    int DeviceHandshake = 0;   // index into "none", "RTS/CTS"
    int DeviceDataFormat = 0;  // index into "8 none" .. "8 even"
    int DeviceBaudIndex = 3;   // index into 1200 .. 115200 (3 = 9600)
    std::array<int, 4> IpAddress{0, 0, 0, 0};
    int IpPort = 0;
    int ForwardEnabled = 0;
    int ForwardBaudDigit = 0;  // character code of the baud index digit: 48 + index
    int ForwardPrefixCode = 0;
    int ForwardSuffixCode = 0;
};

// The address as the device's settings show it: four octets joined by ".".
inline std::string dottedAddress(const std::array<int, 4>& octets) {
    return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." +
           std::to_string(octets[2]) + "." + std::to_string(octets[3]);
}

}  // namespace vem
