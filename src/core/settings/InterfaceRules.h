#pragma once
#include <array>
#include <string>
#include <string_view>

#include "model/DeviceSettings.h"

namespace vem {

// The texts the device settings stand for, in list order.
inline constexpr std::array<std::string_view, 2> HandshakeNames{"none", "RTS/CTS"};
inline constexpr std::array<std::string_view, 5> DataFormatNames{"8 none", "7 odd", "7 even",
                                                                 "8 odd", "8 even"};
inline constexpr std::array<std::string_view, 10> BaudRateNames{
    "1200", "2400", "4800", "9600", "14400", "19200", "28800", "38400", "57600", "115200"};

// ---- Hold times ----

struct HoldTimesTexts {
    std::string data;
    std::string relay;
};

constexpr int LongestHoldSeconds = 255;  // the device keeps each hold time in one byte

// The edits of the hold time dialog, and the hold time box of the main window.
HoldTimesTexts holdTimesTexts(const DeviceSettings& s);
// Both edits hold 0..255; a text that is not a number counts as 0.
bool holdTimesAcceptable(const HoldTimesTexts& typed);
// Stores an acceptable entry and returns true; stores nothing and returns false otherwise.
bool acceptHoldTimes(DeviceSettings& s, const HoldTimesTexts& typed);

// ---- Device serial line ----

struct DeviceSerialPositions {
    int handshake = -1;
    int dataFormat = -1;
    int baudIndex = -1;
};

// The entries to select; a stored index outside its list selects none.
DeviceSerialPositions deviceSerialPositions(const DeviceSettings& s);
// Stores the chosen positions, -1 for a list whose typed text names no entry.
void acceptDeviceSerial(DeviceSettings& s, const DeviceSerialPositions& chosen);

// ---- IP address ----

constexpr int OctetFallback = 999;
constexpr int PortFallback = 99999;
constexpr int HighestPort = 10000;

struct IpAddressTexts {
    std::array<std::string, 4> octets;
    std::string port;
};

IpAddressTexts ipAddressTexts(const DeviceSettings& s);
// Every octet 0..255 and the port 0..10000. A negative number is refused: the device keeps
// each octet in one byte and the port in two, so it would hold another address than typed.
bool ipAddressAcceptable(const IpAddressTexts& typed);
// Stores an acceptable entry and returns true; stores nothing and returns false otherwise.
bool storeIpAddress(DeviceSettings& s, const IpAddressTexts& typed);
// The address label right after the dialog: the four texts joined by "." exactly as typed.
std::string typedAddressLabel(const IpAddressTexts& typed);

// ---- Data send ----

constexpr int BaudDigitZero = 48;  // '0'

struct DataSendEntry {
    bool enabled = false;
    int baudPosition = -1;
    std::string prefix;
    std::string suffix;
};

DataSendEntry dataSendEntry(const DeviceSettings& s);
// Stores the enable flag and the baud digit at once, then the two character codes only when
// both are 0..255. Returns false when a code is refused; the flag and digit stay stored.
bool acceptDataSend(DeviceSettings& s, const DataSendEntry& typed);

}  // namespace vem
