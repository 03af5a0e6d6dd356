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
inline constexpr std::array<std::uint32_t, BaudrateCount> Baudrates{
    50, 110, 150, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
    28800, 38400, 56000, 57600, 115200, 128000, 230400, 256000, 460800, 921600};
inline constexpr std::array<std::string_view, 5> ParityNames{"none", "odd", "even", "mark",
                                                             "space"};
inline constexpr std::array<std::string_view, 3> StopbitsNames{"1", "1,5", "2"};

constexpr std::uint32_t baudRate(TBaudrate b) { return Baudrates[static_cast<std::size_t>(b)]; }
constexpr int dataBitCount(TDataBits d) { return static_cast<int>(d) + 4; }
// The entry for a rate; false when the table does not have it.
bool baudrateOf(std::uint32_t rate, TBaudrate& out);

constexpr int SmallestQueue = 16;

// Line settings and queue sizes of one port. The values are the component's own defaults;
// fields with a rule (see the setters) are written through their setter.
struct SerialLine {
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
    std::int32_t DataSize = 0;  // block size for OnData, 0 = off
    bool ParityCheck = false;   // follows ParityBit
    bool ContinueOnXOff = false;
    bool UseErrorChar = false;
    bool EliminateNullChar = false;
    bool AbortOnError = false;
    std::int32_t RecTimeOut = 0;  // ms, 0 = none
    std::int32_t TrmTimeOut = 0;
    bool SyncEventHandling = false;
    bool EnableEvents = true;
    bool SyncWait = true;  // TData returns when the bytes are written

    bool operator==(const SerialLine&) const = default;

    void SetParityBit(TParityBit p);
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
};

// The main window's port: 57600 8N1, no flow control, events on the UI thread.
SerialLine serial1Line();

// Milliseconds TData may wait for count bytes to leave: TrmTimeOut plus one character time
// per byte when a time-out is set, else twice the line time plus a second.
std::int64_t writeWaitMs(const SerialLine& line, std::uint32_t count);

// Why the last open failed, for the message the window shows.
enum class OpenFailure { None, Absent, Busy, NoPermission, UnsupportedSetting, NotASerialPort, Other };

struct OpenProblem {
    OpenFailure reason = OpenFailure::None;
    std::string location;  // the port's device path (or COM name)
};

}  // namespace vem
