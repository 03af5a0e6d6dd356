#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "device/SerialLine.h"

namespace vem {

// A whole port configuration in one flat record.
struct TSerialConfig {
    bool Valid = false;
    std::int32_t COMPort = 0;
    TBaudrate Baudrate = TBaudrate::br_009600;
    TDataBits DataBits = TDataBits::db_8;
    TParityBit ParityBit = TParityBit::none;
    TStopBits StopBits = TStopBits::sb_1;
    std::int32_t BufSizeTrm = 2048;
    std::int32_t BufSizeRec = 2048;
    bool HandshakeRtsCts = false;
    bool HandshakeDtrDsr = false;
    bool HandshakeXOnXOff = false;
    bool RTSActive = false;
    bool DTRActive = false;
    char XOnChar = 17;
    char XOffChar = 19;
    std::int32_t XOffLimit = 1600;
    std::int32_t XOnLimit = 400;
    char ErrorChar = '?';
    char EofChar = 26;
    char EventChar = 13;
    bool ContinueOnXOff = false;
    bool UseErrorChar = false;
    bool EliminateNullChar = false;
    bool AbortOnError = false;
    std::int32_t RecTimeOut = 0;
    std::int32_t TrmTimeOut = 0;

    bool operator==(const TSerialConfig&) const = default;
};

inline constexpr std::size_t ConfigTextLength = 91;
inline constexpr std::string_view ConfigSignature = "RRS0";

// The configuration of a port, Valid.
TSerialConfig GetConfig(const SerialLine& line, int comPort);

// Applies a Valid record through the setters; the port number goes to setPort (the component
// takes only a listed port). Returns false, changing nothing, for a record that is not Valid.
bool SetConfig(SerialLine& line, const TSerialConfig& config,
               const std::function<void(int)>& setPort = {});

// The 91-character text; empty for a record that is not Valid.
std::string ConfigToStr(const TSerialConfig& config);

// Reads a text over `current` (normally GetConfig of the component). Fields are read in order;
// the first failure stops the reading, leaves the fields read so far changed and Valid false.
TSerialConfig StrToConfig(std::string_view text, TSerialConfig current);

}  // namespace vem
