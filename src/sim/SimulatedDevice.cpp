#include "sim/SimulatedDevice.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "device/Protocol.h"

namespace vem {

namespace {

// After ESC, the device's refusal of a command or block.
constexpr std::uint8_t Nak = 0x15;
// Filler the device sends as noise on the line.
constexpr std::uint8_t NoiseByte = 0xA5;

enum Cmd { ProgramMain, ProgramHeader, ProgramScreen, ReadMain, ReadHeader, ReadScreen,
           SetClock, Video, Font, Firmware, Fuses, CmdCount };

constexpr std::array<std::string_view, CmdCount> Words{
    Command::Program, Command::ProgramHeader, Command::ProgramScreen, Command::ReadMain,
    Command::ReadHeader, Command::ReadScreen, Command::SetClock, Command::Video,
    Command::Font, Command::Firmware, Command::Fuses};

// The command `word` (ESC first) is; CmdCount while it is only the start of one; -1 when it
// cannot become one.
int matchCommand(const std::vector<std::uint8_t>& word) {
    if (word.empty() || word[0] != Esc) return -1;
    const std::string_view text(reinterpret_cast<const char*>(word.data()) + 1, word.size() - 1);
    for (int c = 0; c < CmdCount; ++c)
        if (Words[c].starts_with(text)) return text.size() == Words[c].size() ? c : CmdCount;
    return -1;
}

}  // namespace

SimulatedDevice::SimulatedDevice(DeviceFaults faults) : faults_(faults) {
    in_.reserve(BlockSize);
}

void SimulatedDevice::receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
    receive(bytes, Time(std::chrono::milliseconds(nowMs)));
}

std::vector<std::uint8_t> SimulatedDevice::takeOutput(std::int64_t nowMs) {
    return takeOutput(Time(std::chrono::milliseconds(nowMs)));
}

std::optional<std::int64_t> SimulatedDevice::nextOutputTime() const {
    const auto at = nextOutputAt();
    if (!at) return std::nullopt;
    return std::chrono::ceil<std::chrono::milliseconds>(*at).count();
}

void SimulatedDevice::receive(std::span<const std::uint8_t> bytes, Time now) {
    lastNow_ = std::max(lastNow_, now);
    for (const std::uint8_t byte : bytes) {
        Time at = lastNow_;
        if (faults_.baud > 0) {
            inputFree_ = std::max(inputFree_, lastNow_) + wireTime(1);
            at = inputFree_;
        }
        take(byte, at);
    }
}

std::vector<std::uint8_t> SimulatedDevice::takeOutput(Time now) {
    std::vector<std::uint8_t> out;
    while (!output_.empty() && output_.front().ready <= now) {
        out.insert(out.end(), output_.front().bytes.begin(), output_.front().bytes.end());
        outputBytes_ -= output_.front().bytes.size();
        output_.pop_front();
    }
    return out;
}

std::optional<SimulatedDevice::Time> SimulatedDevice::nextOutputAt() const {
    if (output_.empty()) return std::nullopt;
    return output_.front().ready;
}

void SimulatedDevice::take(std::uint8_t byte, Time at) {
    if (mode_ != Mode::Idle && at - lastActivity_ > AbandonAfter) {
        mode_ = Mode::Idle;
        in_.clear();
    }
    lastActivity_ = std::max(lastActivity_, at);
    switch (mode_) {
    case Mode::Idle:
        takeCommandByte(byte, at);
        break;
    case Mode::Taking:
        in_.push_back(byte);
        if (in_.size() == BlockSize) blockArrived(at);
        break;
    case Mode::Sending:
        // Waits for ESC ACK; ESC and anything else may begin a new command.
        if (in_.empty()) {
            if (byte == Esc) in_.push_back(byte);
        } else if (byte == Ack) {
            in_.clear();
            ackArrived(at);
        } else {
            mode_ = Mode::Idle;
            takeCommandByte(byte, at);
        }
        break;
    }
}

void SimulatedDevice::takeCommandByte(std::uint8_t byte, Time at) {
    if (in_.empty() && byte != Esc) return;
    in_.push_back(byte);
    int command = matchCommand(in_);
    while (command < 0) {
        const auto next = std::find(in_.begin() + 1, in_.end(), Esc);
        in_.erase(in_.begin(), next);
        if (in_.empty()) return;
        command = matchCommand(in_);
    }
    if (in_.size() < CommandWordSize) return;
    in_.clear();
    commandArrived(command, at);
}

SimulatedDevice::Fault SimulatedDevice::nextRequest() {
    const int n = taken_++;
    if (n == faults_.noReplyAt) return Fault::Silent;
    if (n == faults_.wrongReplyAt) return Fault::Wrong;
    return Fault::None;
}

void SimulatedDevice::commandArrived(int command, Time at) {
    const Area readEnded = std::exchange(readEnded_, Area::None);
    const Fault fault = nextRequest();
    if (fault == Fault::Silent) return;

    auto startRead = [&](Area area, int blocks, bool continues) {
        if (!continues) readSent_ = 0;
        mode_ = Mode::Sending;
        area_ = area;
        block_ = 0;
        blocks_ = blocks;
        sendBlocks(fault, at);
    };
    switch (command) {
    case ReadMain:
        return startRead(Area::Main, MainBlocks, false);
    case ReadHeader:
        return startRead(Area::Header, HeaderBlocks, readEnded == Area::Main);
    case ReadScreen:
        return startRead(Area::Screen, ScreenAreaSize / BlockSize + 1, readEnded == Area::Header);
    default:
        break;
    }

    if (fault == Fault::Wrong) return send({Esc, Nak}, at);
    send({Esc, Ack}, at);
    if (command == Fuses) {
        ++memory_.fuseCommands;
        ++completed_;
        return;
    }
    static constexpr std::array<Area, CmdCount> areas{
        Area::Main,  Area::Header, Area::Screen, Area::None, Area::None,    Area::None,
        Area::Clock, Area::Video,  Area::Font,   Area::Firmware, Area::None};
    area_ = areas[command];
    if (area_ == Area::Font) memory_.font.assign(FontSize, 0);
    if (area_ == Area::Firmware) memory_.firmware.assign(FirmwareSize, 0);
    mode_ = Mode::Taking;
    block_ = 0;
    blocks_ = static_cast<int>(areaBytes(area_).size() / BlockSize);
}

void SimulatedDevice::blockArrived(Time at) {
    const Fault fault = nextRequest();
    if (fault == Fault::Silent) {
        in_.clear();
        return;
    }
    if (fault == Fault::Wrong) {
        in_.clear();
        return send({Esc, Nak}, at);
    }
    store(area_, block_, in_);
    in_.clear();
    send({Esc, Ack}, at);
    if (++block_ == blocks_) {
        mode_ = Mode::Idle;
        ++completed_;
    }
}

void SimulatedDevice::ackArrived(Time at) {
    if (block_ >= blocks_) {  // the last block of the main or header area: nothing follows
        mode_ = Mode::Idle;
        readEnded_ = area_;
        return;
    }
    const Fault fault = nextRequest();
    if (fault != Fault::Silent) sendBlocks(fault, at);
}

void SimulatedDevice::sendBlocks(Fault fault, Time at) {
    int count = std::min(faults_.mergeBlocks ? 2 : 1, blocks_ - block_);
    if (faults_.shortReadBack >= 0) count = std::min(count, faults_.shortReadBack - readSent_);
    if (count <= 0) {
        mode_ = Mode::Idle;
        return;
    }
    std::vector<std::uint8_t> bytes(count * BlockSize, fault == Fault::Wrong ? 0x55 : 0x00);
    const auto area = areaBytes(area_);
    for (int i = 0; i < count && fault != Fault::Wrong; ++i) {
        const std::size_t from = (block_ + i) * BlockSize;
        if (from < area.size())  // past the screen area: the trailing block, zeros
            std::copy_n(area.begin() + from, BlockSize, bytes.begin() + i * BlockSize);
    }
    send(std::move(bytes), at, true);
    block_ += count;
    readSent_ += count;
    if (area_ == Area::Screen && block_ == blocks_) mode_ = Mode::Idle;  // the trailing block is not acknowledged
}

void SimulatedDevice::send(std::vector<std::uint8_t> bytes, Time at, bool blocks) {
    ++answered_;
    const auto noise = static_cast<std::size_t>(blocks ? faults_.noiseBeforeBlocks + faults_.noiseAfterBlocks : 0);
    if (outputBytes_ + bytes.size() + noise > OutputLimit) return;
    Time start = std::max(at + std::chrono::milliseconds(faults_.latencyMs), outputFree_);
    auto queue = [&](std::vector<std::uint8_t> piece) {
        start += wireTime(piece.size());
        outputBytes_ += piece.size();
        output_.push_back({start, std::move(piece)});
    };
    constexpr auto noiseGap = std::chrono::milliseconds(DeviceFaults::NoiseGapMs);
    if (blocks && faults_.noiseBeforeBlocks > 0) {
        queue(std::vector<std::uint8_t>(faults_.noiseBeforeBlocks, NoiseByte));
        start += noiseGap;
    }
    if (faults_.splitReplies && bytes.size() > 1) {
        const auto half = bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2);
        queue({bytes.begin(), half});
        start += std::chrono::milliseconds(1);
        queue({half, bytes.end()});
    } else {
        queue(std::move(bytes));
    }
    if (blocks && faults_.noiseAfterBlocks > 0) {
        start += noiseGap;
        queue(std::vector<std::uint8_t>(faults_.noiseAfterBlocks, NoiseByte));
    }
    outputFree_ = start;
    lastActivity_ = std::max(lastActivity_, start);
}

void SimulatedDevice::store(Area area, int block, std::span<const std::uint8_t> data) {
    const auto target = areaBytes(area).subspan(block * BlockSize, BlockSize);
    std::copy(data.begin(), data.end(), target.begin());
    std::size_t base = 0;
    switch (area) {
    case Area::Main: base = 0; break;
    case Area::Header: base = MainAreaSize; break;
    case Area::Screen: base = MainAreaSize + HeaderAreaSize; break;
    default: return;
    }
    const auto offset = static_cast<std::ptrdiff_t>(faults_.corruptStoredByte) -
                        static_cast<std::ptrdiff_t>(base + block * BlockSize);
    if (offset >= 0 && offset < static_cast<std::ptrdiff_t>(BlockSize)) target[offset] ^= 0xFF;
}

SimulatedDevice::Time SimulatedDevice::wireTime(std::size_t bytes) const {
    if (faults_.baud <= 0) return Time(0);
    return Time(static_cast<std::int64_t>(bytes) * 10'000'000'000 / faults_.baud);
}

std::span<std::uint8_t> SimulatedDevice::areaBytes(Area area) {
    switch (area) {
    case Area::Main: return memory_.mainArea;
    case Area::Header: return memory_.headerArea;
    case Area::Screen: return memory_.screenArea;
    case Area::Clock: return memory_.clockBlock;
    case Area::Video: return memory_.videoBlock;
    case Area::Font: return memory_.font;
    case Area::Firmware: return memory_.firmware;
    case Area::None: break;
    }
    return {};
}

}  // namespace vem
