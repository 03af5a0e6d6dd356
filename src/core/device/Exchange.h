#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/Protocol.h"
#include "model/LocalTime.h"
#include "model/DeviceImage.h"

namespace vem {

// A steady clock's milliseconds: the only time an exchange goes by.
using Millis = std::int64_t;

// A moment as the host gives it: the steady clock for deadlines, the local time for the clock block.
struct Instant {
    Millis ms = 0;
    LocalTime local;
};

// One exchange with the device, from its first command until its port may close. It does no
// I/O and owns no timer: the host hands it what arrived and what time it is, sends what it gives
// back and polls it at nextDeadline(). It keeps its own copy of what it sends and the buffer it
// receives into, so nothing done meanwhile changes a byte on the wire or its result.
class Exchange {
public:
    enum class Kind { Program, ReadBack, ReadInfo, SetClock, VideoSettings, FontUpload, FirmwareUpload, Fuses };
    enum class Status { Running, Completed, Failed };
    // ExtraBytes: a data reply held more bytes than its block.
    enum class Failure { None, Refused, TimedOut, ExtraBytes, Abandoned };

    // What one input asks of the host, in this order: send, then close the port once drained.
    struct Output {
        std::vector<std::vector<std::uint8_t>> send;
        bool closePort = false;
        bool progressed = false;      // position() moved
        bool ended = false;           // the status left Running with this input
    };

    static Exchange program(const DeviceImage& image);
    static Exchange readBack();
    static Exchange readInfo();
    static Exchange setClock();
    static Exchange videoSettings(std::span<const std::uint8_t, VideoSettingsSize> settings);
    // A character set of FontSize bytes, or a firmware of fewer than FirmwareSize bytes (zeros after it).
    static Exchange fontUpload(std::span<const std::uint8_t> font);
    static Exchange firmwareUpload(std::span<const std::uint8_t> firmware);
    static Exchange fuses();

    // Milliseconds the device has to answer each command or block (the protocol's 2 s unless changed).
    void setReplyTimeout(int ms) { replyTimeoutMs_ = ms; }

    Output receive(std::span<const std::uint8_t> bytes, const Instant& now);
    // Runs what is due at `now`; nothing before its deadline.
    Output poll(const Instant& now);
    // Ends a running exchange from outside (the port vanished or did not open).
    Output abandon();
    // When poll() wants to run next; none once nothing waits.
    std::optional<Millis> nextDeadline() const;

    Kind kind() const { return kind_; }
    Status status() const { return status_; }
    Failure failure() const { return failure_; }
    // The progress window's position and maximum; the step a failure names and the steps there are.
    int position() const { return position_; }
    int progressMaximum() const;
    int step() const { return blockIndex_; }
    int steps() const;
    // A completed read-back: the three areas as the device sent them.
    const DeviceImage& receivedImage() const { return image_; }
    // A completed information request: the device's header area (the first 128 bytes).
    std::span<const std::uint8_t, HeaderAreaSize> receivedHeader() const {
        return std::span<const std::uint8_t, HeaderAreaSize>(image_.headerArea);
    }

private:
    enum class Phase { Starting, FlushWait, AwaitReply, CloseWait, QuietAfterLastBlock, Done };

    explicit Exchange(Kind kind);
    bool repliesWithBlocks() const;
    int replyThreshold() const;
    int payloadBlocks() const;
    std::vector<std::uint8_t> block(std::span<const std::uint8_t> area, int k) const;
    void sendCommand(Output& out, const Instant& now);
    void awaitReply(const Instant& now);
    void awaitQuiet(const Instant& now);
    void complete(Output& out);
    void fail(Output& out, Failure failure);
    void step(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now);
    void programStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now);
    void readBackStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now);
    void readInfoStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now);
    void settingsStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now);
    void uploadStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now);
    void setPosition(Output& out, int position);

    Kind kind_;
    Status status_ = Status::Running;
    Failure failure_ = Failure::None;
    Phase phase_ = Phase::Starting;
    Millis deadline_ = 0;  // due at once until started
    int replyTimeoutMs_ = ReplyTimeoutMs;
    int blockIndex_ = 0;
    int programPhase_ = 0;  // programming: 0 before, 1 after the header command, 2 after the screen command
    int position_ = 0;
    DeviceImage image_;                   // programming sends it; read-back and information fill it
    std::vector<std::uint8_t> payload_;   // font, firmware or video settings
    std::vector<std::uint8_t> received_;  // bytes not yet taken as a reply
};

}  // namespace vem
