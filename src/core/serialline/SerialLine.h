#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vem {

// Line settings of the PC's serial port; the ordinals are what a configuration stores.
enum class TBaudrate : std::uint8_t {
    br_000050, br_000110, br_000150, br_000300, br_000600, br_001200, br_002400,
    br_004800, br_009600, br_014400, br_019200, br_028800, br_038400, br_056000,
    br_057600, br_115200, br_128000, br_230400, br_256000, br_460800, br_921600
};
enum class TDataBits : std::uint8_t { db_4, db_5, db_6, db_7, db_8 };  // bits = ordinal + 4
enum class TParityBit : std::uint8_t { none, odd, even, mark, space };
enum class TStopBits : std::uint8_t { sb_1, sb_15, sb_2 };

inline constexpr int BaudrateCount = 21;
inline constexpr int DataBitsCount = 5;
inline constexpr int ParityCount = 5;
inline constexpr int StopBitsCount = 3;
inline constexpr std::array<std::uint32_t, BaudrateCount> Baudrates{
    50, 110, 150, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
    28800, 38400, 56000, 57600, 115200, 128000, 230400, 256000, 460800, 921600};
inline constexpr std::array<std::string_view, ParityCount> ParityNames{"none", "odd", "even",
                                                                       "mark", "space"};
inline constexpr std::array<std::string_view, StopBitsCount> StopbitsNames{"1", "1,5", "2"};

constexpr std::uint32_t baudRate(TBaudrate b) { return Baudrates[static_cast<std::size_t>(b)]; }
constexpr int dataBitCount(TDataBits d) { return static_cast<int>(d) + 4; }
// The entry for a rate; false when the table does not have it.
bool baudrateOf(std::uint32_t rate, TBaudrate& out);

constexpr int SmallestQueue = 16;

// The line settings that take any value of their type; the component's own defaults.
struct SerialOptions {
    TBaudrate Baudrate = TBaudrate::br_009600;
    TDataBits DataBits = TDataBits::db_8;
    TParityBit ParityBit = TParityBit::none;
    TStopBits StopBits = TStopBits::sb_1;
    bool HandshakeRtsCts = false;
    bool HandshakeDtrDsr = false;
    bool HandshakeXOnXOff = false;
    bool RTSActive = false;
    bool DTRActive = false;
    char XOnChar = 17;
    char XOffChar = 19;
    char ErrorChar = '?';
    char EofChar = 26;
    char EventChar = 13;
    bool ContinueOnXOff = false;
    bool UseErrorChar = false;
    bool EliminateNullChar = false;
    bool AbortOnError = false;

    bool operator==(const SerialOptions&) const = default;
};

// Queue sizes, flow-control limits and time-outs. A line keeps them within the rules of its
// setters; as plain values they travel in a configuration record.
struct SerialLimits {
    std::int32_t BufSizeTrm = 2048;
    std::int32_t BufSizeRec = 2048;
    std::int32_t XOffLimit = 1600;
    std::int32_t XOnLimit = 400;
    std::int32_t RecTimeOut = 0;  // ms, 0 = none
    std::int32_t TrmTimeOut = 0;

    bool operator==(const SerialLimits&) const = default;
};

// Line settings and queue sizes of one port. Queue sizes, flow-control limits, the data block
// size and the time-outs change only through their setters, which keep
// 0 <= XOnLimit < XOffLimit <= BufSizeRec and both queues at SmallestQueue or more.
class SerialLine : public SerialOptions {
public:
    bool SyncEventHandling = false;
    bool EnableEvents = true;

    bool operator==(const SerialLine&) const = default;

    bool ParityCheck() const { return ParityBit != TParityBit::none; }
    const SerialLimits& Limits() const { return limits_; }
    std::int32_t BufSizeTrm() const { return limits_.BufSizeTrm; }
    std::int32_t BufSizeRec() const { return limits_.BufSizeRec; }
    std::int32_t XOffLimit() const { return limits_.XOffLimit; }
    std::int32_t XOnLimit() const { return limits_.XOnLimit; }
    std::int32_t RecTimeOut() const { return limits_.RecTimeOut; }
    std::int32_t TrmTimeOut() const { return limits_.TrmTimeOut; }
    std::int32_t DataSize() const { return dataSize_; }  // the configuration's data block size, 0 = off

    void SetParityBit(TParityBit p) { ParityBit = p; }
    void SetBufSizeTrm(std::int32_t v);
    // Also lowers XOffLimit to the new size and XOnLimit below XOffLimit.
    void SetBufSizeRec(std::int32_t v);
    // Kept above XOnLimit, then capped at BufSizeRec.
    void SetXOffLimit(std::int32_t v);
    // Kept below XOffLimit, and not negative.
    void SetXOnLimit(std::int32_t v);
    void SetDataSize(std::int32_t v);
    void SetRecTimeOut(std::int32_t v);
    void SetTrmTimeOut(std::int32_t v);
    // All of them through the setters above; the XOn/XOff pair arrives whole whatever the
    // line's pair was, as far as the rules allow.
    void SetLimits(const SerialLimits& limits);

private:
    SerialLimits limits_;
    std::int32_t dataSize_ = 0;
};

// The main window's port: 57600 8N1, no flow control, events on the UI thread.
SerialLine serial1Line();

// Why the last open failed, for the message the window shows.
enum class OpenFailure { None, Absent, Busy, NoPermission, UnsupportedSetting, NotASerialPort, Other };

struct OpenProblem {
    OpenFailure reason = OpenFailure::None;
    std::string location;  // the port's device path (or COM name)
};

}  // namespace vem
