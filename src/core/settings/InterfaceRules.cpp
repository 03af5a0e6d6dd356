#include "settings/InterfaceRules.h"

#include "settings/SettingsRules.h"

namespace vem {

namespace {
int entryCount(const auto& list) { return static_cast<int>(list.size()); }
bool isByte(int v) { return v >= 0 && v <= 255; }
}  // namespace

HoldTimesTexts holdTimesTexts(const DeviceSettings& s) {
    return {std::to_string(s.DataHoldSeconds), std::to_string(s.RelayHoldSeconds)};
}

bool holdTimesAcceptable(const HoldTimesTexts& typed) {
    for (const std::string* text : {&typed.data, &typed.relay}) {
        const int seconds = readNumber(*text, 0);
        if (seconds < 0 || seconds > LongestHoldSeconds) return false;
    }
    return true;
}

bool acceptHoldTimes(DeviceSettings& s, const HoldTimesTexts& typed) {
    if (!holdTimesAcceptable(typed)) return false;
    s.DataHoldSeconds = readNumber(typed.data, 0);
    s.RelayHoldSeconds = readNumber(typed.relay, 0);
    return true;
}

DeviceSerialPositions deviceSerialPositions(const DeviceSettings& s) {
    return {listPosition(s.DeviceHandshake, entryCount(HandshakeNames)),
            listPosition(s.DeviceDataFormat, entryCount(DataFormatNames)),
            listPosition(s.DeviceBaudIndex, entryCount(BaudRateNames))};
}

void acceptDeviceSerial(DeviceSettings& s, const DeviceSerialPositions& chosen) {
    s.DeviceHandshake = chosen.handshake;
    s.DeviceDataFormat = chosen.dataFormat;
    s.DeviceBaudIndex = chosen.baudIndex;
}

IpAddressTexts ipAddressTexts(const DeviceSettings& s) {
    IpAddressTexts t;
    for (int i = 0; i < 4; ++i) t.octets[i] = std::to_string(s.IpAddress[i]);
    t.port = std::to_string(s.IpPort);
    return t;
}

bool ipAddressAcceptable(const IpAddressTexts& typed) {
    for (const std::string& octet : typed.octets)
        if (!isByte(readNumber(octet, OctetFallback))) return false;
    const int port = readNumber(typed.port, PortFallback);
    return port >= 0 && port <= HighestPort;
}

bool storeIpAddress(DeviceSettings& s, const IpAddressTexts& typed) {
    if (!ipAddressAcceptable(typed)) return false;
    for (int i = 0; i < 4; ++i) s.IpAddress[i] = readNumber(typed.octets[i], OctetFallback);
    s.IpPort = readNumber(typed.port, PortFallback);
    return true;
}

std::string typedAddressLabel(const IpAddressTexts& typed) {
    return typed.octets[0] + "." + typed.octets[1] + "." + typed.octets[2] + "." + typed.octets[3];
}

DataSendEntry dataSendEntry(const DeviceSettings& s) {
    DataSendEntry e;
    e.enabled = s.ForwardEnabled == 1;
    e.baudPosition = listPosition(s.ForwardBaudDigit - BaudDigitZero, entryCount(BaudRateNames));
    e.prefix = std::to_string(s.ForwardPrefixCode);
    e.suffix = std::to_string(s.ForwardSuffixCode);
    return e;
}

bool acceptDataSend(DeviceSettings& s, const DataSendEntry& typed) {
    s.ForwardEnabled = typed.enabled ? 1 : 0;
    s.ForwardBaudDigit = listPosition(typed.baudPosition, entryCount(BaudRateNames)) + BaudDigitZero;
    const int prefix = readNumber(typed.prefix, 0);
    const int suffix = readNumber(typed.suffix, 0);
    if (!isByte(prefix) || !isByte(suffix)) return false;
    s.ForwardPrefixCode = prefix;
    s.ForwardSuffixCode = suffix;
    return true;
}

}  // namespace vem
