#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "device/Protocol.h"
#include "model/DeviceImage.h"

namespace vem {

// Faults the simulated device makes on purpose. Requests are numbered from 0 in the order the
// device takes them: every command word, every block it is sent, and every acknowledgement it
// answers with a block. The acknowledgement of the last block of the main or header area
// is answered by nothing and is no request.
struct DeviceFaults {
    int wrongReplyAt = -1;       // request n gets ESC 0x15 (command or block refused, the device stays
                                 // where it was), or 0x55 bytes in place of the blocks it asked for
    int noReplyAt = -1;          // request n is ignored: no reply, and the device stays where it was
    bool splitReplies = false;   // every reply comes in two halves, the second 1 ms after the first
    bool mergeBlocks = false;    // read commands send their blocks two at a time
    int shortReadBack = -1;      // a read sequence stops after sending this many blocks
    int latencyMs = 0;           // a reply starts this long after its request has fully arrived
    int baud = 0;                // wire speed both ways, 10 bits a byte; 0 = instant
    int corruptStoredByte = -1;  // offset in main, header and screen area end to end; stored inverted
    // Noise on the line: this many 0xA5 bytes come NoiseGapMs before, or after, every reply of blocks.
    int noiseBeforeBlocks = 0;
    int noiseAfterBlocks = 0;
    static constexpr int NoiseGapMs = 5;
};

// Everything the device keeps.
struct DeviceMemory {
    std::array<std::uint8_t, MainAreaSize> mainArea{};
    std::array<std::uint8_t, HeaderAreaSize> headerArea{};
    std::array<std::uint8_t, ScreenAreaSize> screenArea{};
    std::array<std::uint8_t, BlockSize> clockBlock{};
    std::array<std::uint8_t, BlockSize> videoBlock{};
    std::vector<std::uint8_t> font;      // FontSize bytes once an upload has started
    std::vector<std::uint8_t> firmware;  // FirmwareSize bytes once an upload has started
    int fuseCommands = 0;
};

// The device's side of the protocol, without I/O: the host's bytes go in, the replies come out,
// both on a clock the caller gives. A reply (each half of a split reply) becomes readable whole,
// once its last byte has crossed the wire.
//
// A known command word is taken whenever the device waits for one or for an acknowledgement;
// while it takes blocks every byte is data. Input that fits nothing is dropped up to the next
// ESC. A transfer that stays silent for longer than AbandonAfter is given up, so the next
// command after a host's time-out is heard.
class SimulatedDevice {
public:
    using Time = std::chrono::nanoseconds;
    static constexpr Time AbandonAfter = std::chrono::milliseconds(1000);
    static constexpr std::size_t OutputLimit = 65536;  // replies beyond this many unread bytes are lost

    explicit SimulatedDevice(DeviceFaults faults = {});

    // Clock in milliseconds.
    void receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    std::vector<std::uint8_t> takeOutput(std::int64_t nowMs);
    // The first millisecond at which takeOutput gives the next reply.
    std::optional<std::int64_t> nextOutputTime() const;

    // The same on a finer clock.
    void receive(std::span<const std::uint8_t> bytes, Time now);
    std::vector<std::uint8_t> takeOutput(Time now);
    std::optional<Time> nextOutputAt() const;

    DeviceMemory& memory() { return memory_; }
    const DeviceMemory& memory() const { return memory_; }

    int requestsAnswered() const { return answered_; }
    int requestsTaken() const { return taken_; }  // answered or not; the number of the next request
    // Counts areas programmed, uploads, clock and video blocks stored and fuse commands.
    int completedTransfers() const { return completed_; }
    bool idle() const { return mode_ == Mode::Idle; }

private:
    enum class Mode { Idle, Taking, Sending };
    enum class Area { None, Main, Header, Screen, Clock, Video, Font, Firmware };
    enum class Fault { None, Wrong, Silent };
    struct Piece {
        Time ready;
        std::vector<std::uint8_t> bytes;
    };

    void take(std::uint8_t byte, Time at);
    void takeCommandByte(std::uint8_t byte, Time at);
    void commandArrived(int command, Time at);
    void blockArrived(Time at);
    void ackArrived(Time at);
    void sendBlocks(Fault fault, Time at);
    void send(std::vector<std::uint8_t> bytes, Time at, bool blocks = false);
    void store(Area area, int block, std::span<const std::uint8_t> data);
    Fault nextRequest();
    Time wireTime(std::size_t bytes) const;
    std::span<std::uint8_t> areaBytes(Area area);

    DeviceFaults faults_;
    DeviceMemory memory_;
    Mode mode_ = Mode::Idle;
    std::vector<std::uint8_t> in_;  // a command word, a block or an ESC so far
    Area area_ = Area::None;        // taken or sent
    int block_ = 0;                 // next block to take or send
    int blocks_ = 0;                // blocks of the transfer (sending: with the trailing block)
    int readSent_ = 0;              // blocks sent in this read sequence
    Area readEnded_ = Area::None;   // the area a read sequence has just finished
    Time inputFree_{0};
    Time outputFree_{0};
    Time lastActivity_{0};
    Time lastNow_{0};
    std::deque<Piece> output_;
    std::size_t outputBytes_ = 0;
    int taken_ = 0;
    int answered_ = 0;
    int completed_ = 0;
};

}  // namespace vem
