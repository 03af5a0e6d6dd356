#include "device/Exchange.h"

#include <algorithm>

namespace vem {

namespace {

using Kind = Exchange::Kind;

constexpr int blocksOf(std::size_t bytes) { return static_cast<int>(bytes / BlockSize); }

std::string_view commandOf(Kind kind) {
    switch (kind) {
    case Kind::Program: return Command::Program;
    case Kind::ReadBack: return Command::ReadMain;
    case Kind::ReadInfo: return Command::ReadHeader;
    case Kind::SetClock: return Command::SetClock;
    case Kind::VideoSettings: return Command::Video;
    case Kind::FontUpload: return Command::Font;
    case Kind::FirmwareUpload: return Command::Firmware;
    case Kind::Fuses: return Command::Fuses;
    }
    return {};
}

// The exchanges whose command follows a short wait in which stale input is dropped.
bool waitsBeforeCommand(Kind kind) {
    return kind == Kind::Program || kind == Kind::ReadBack || kind == Kind::ReadInfo ||
           kind == Kind::FontUpload || kind == Kind::FirmwareUpload;
}

// A 64-byte block of `used` bytes and zeros after them.
std::vector<std::uint8_t> settingsBlock(std::span<const std::uint8_t> used) {
    std::vector<std::uint8_t> block(BlockSize, 0);
    std::copy(used.begin(), used.end(), block.begin());
    return block;
}

// The clock block's twelve digits, day first.
std::vector<std::uint8_t> clockDigits(const LocalTime& t) {
    std::vector<std::uint8_t> digits;
    for (int value : {t.day, t.month, t.year, t.hour, t.minute, t.second}) {
        const int v = (value % 100 + 100) % 100;
        digits.push_back(static_cast<std::uint8_t>('0' + v / 10));
        digits.push_back(static_cast<std::uint8_t>('0' + v % 10));
    }
    return digits;
}

}  // namespace

Exchange::Exchange(Kind kind) : kind_(kind) {}

Exchange Exchange::program(const DeviceImage& image) {
    Exchange e(Kind::Program);
    e.image_ = image;
    return e;
}

Exchange Exchange::readBack() { return Exchange(Kind::ReadBack); }
Exchange Exchange::readInfo() { return Exchange(Kind::ReadInfo); }
Exchange Exchange::setClock() { return Exchange(Kind::SetClock); }
Exchange Exchange::fuses() { return Exchange(Kind::Fuses); }

Exchange Exchange::videoSettings(std::span<const std::uint8_t, VideoSettingsSize> settings) {
    Exchange e(Kind::VideoSettings);
    e.payload_.assign(settings.begin(), settings.end());
    return e;
}

Exchange Exchange::fontUpload(std::span<const std::uint8_t> font) {
    Exchange e(Kind::FontUpload);
    e.payload_.assign(font.begin(), font.end());
    e.payload_.resize(FontSize, 0);
    return e;
}

Exchange Exchange::firmwareUpload(std::span<const std::uint8_t> firmware) {
    Exchange e(Kind::FirmwareUpload);
    e.payload_.assign(firmware.begin(), firmware.end());
    e.payload_.resize(FirmwareSize, 0);
    return e;
}

bool Exchange::repliesWithBlocks() const { return kind_ == Kind::ReadBack || kind_ == Kind::ReadInfo; }

int Exchange::replyThreshold() const { return repliesWithBlocks() ? static_cast<int>(BlockSize) - 1 : 1; }

int Exchange::progressMaximum() const {
    return kind_ == Kind::FontUpload || kind_ == Kind::FirmwareUpload ? payloadBlocks() : ProgramBlocks;
}

int Exchange::payloadBlocks() const { return blocksOf(payload_.size()); }

int Exchange::steps() const {
    switch (kind_) {
    case Kind::Program: return ProgramBlocks;
    case Kind::ReadBack: return ReadBackBlocks;
    case Kind::ReadInfo: return HeaderBlocks;
    case Kind::SetClock:
    case Kind::VideoSettings: return 1;
    case Kind::FontUpload:
    case Kind::FirmwareUpload: return payloadBlocks();
    case Kind::Fuses: break;
    }
    return 0;
}

std::optional<Millis> Exchange::nextDeadline() const {
    if (phase_ == Phase::Done) return std::nullopt;
    return deadline_;
}

std::vector<std::uint8_t> Exchange::block(std::span<const std::uint8_t> area, int k) const {
    const auto first = area.begin() + static_cast<std::ptrdiff_t>(BlockSize) * k;
    return {first, first + static_cast<std::ptrdiff_t>(BlockSize)};
}

// ---- Inputs ----

Exchange::Output Exchange::poll(const Instant& now) {
    Output out;
    if (phase_ == Phase::Done || now.ms < deadline_) return out;
    switch (phase_) {
    case Phase::Starting:
        if (waitsBeforeCommand(kind_)) {
            phase_ = Phase::FlushWait;
            deadline_ = now.ms + FlushWaitMs;
        } else {
            sendCommand(out, now);
        }
        break;
    case Phase::FlushWait:
        received_.clear();  // what came before the command is no reply to it
        sendCommand(out, now);
        break;
    case Phase::AwaitReply: fail(out, Failure::TimedOut); break;
    case Phase::CloseWait:
        out.closePort = true;
        phase_ = Phase::Done;
        break;
    case Phase::QuietAfterLastBlock:
        complete(out);
        out.closePort = true;
        break;
    case Phase::Done: break;
    }
    return out;
}

Exchange::Output Exchange::receive(std::span<const std::uint8_t> bytes, const Instant& now) {
    Output out;
    if (phase_ == Phase::Done || status_ != Status::Running) return out;
    // Judged by when it came, not by when the host got round to a poll: past the deadline is late.
    if (phase_ == Phase::AwaitReply && now.ms >= deadline_) {
        fail(out, Failure::TimedOut);
        return out;
    }
    received_.insert(received_.end(), bytes.begin(), bytes.end());
    // A data reply is one block: a byte more, with it or after the last block, is noise on the
    // line or another device, and nothing of what came may be taken. An ESC ACK carries no data:
    // what follows it is dropped.
    if (phase_ == Phase::QuietAfterLastBlock ||
        (phase_ == Phase::AwaitReply && repliesWithBlocks() && received_.size() > BlockSize)) {
        fail(out, Failure::ExtraBytes);
        return out;
    }
    if (phase_ != Phase::AwaitReply || static_cast<int>(received_.size()) <= replyThreshold()) return out;
    std::vector<std::uint8_t> reply;
    reply.swap(received_);
    step(out, reply, now);
    return out;
}

Exchange::Output Exchange::abandon() {
    Output out;
    if (status_ == Status::Running) fail(out, Failure::Abandoned);
    phase_ = Phase::Done;
    return out;
}

// ---- Steps ----

void Exchange::sendCommand(Output& out, const Instant& now) {
    out.send.push_back(commandWord(commandOf(kind_)));
    if (kind_ == Kind::Fuses) {
        complete(out);  // nothing is waited for
        phase_ = Phase::Done;
        return;
    }
    awaitReply(now);
}

void Exchange::awaitReply(const Instant& now) {
    phase_ = Phase::AwaitReply;
    deadline_ = now.ms + replyTimeoutMs_;
}

void Exchange::awaitQuiet(const Instant& now) {
    phase_ = Phase::QuietAfterLastBlock;
    deadline_ = now.ms + LastBlockQuietMs;
}

void Exchange::complete(Output& out) {
    status_ = Status::Completed;
    out.ended = true;
    phase_ = Phase::Done;
}

void Exchange::fail(Output& out, Failure failure) {
    status_ = Status::Failed;
    failure_ = failure;
    out.ended = true;
    out.closePort = true;
    phase_ = Phase::Done;
}

void Exchange::setPosition(Output& out, int position) {
    position_ = position;
    out.progressed = true;
}

void Exchange::step(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now) {
    switch (kind_) {
    case Kind::Program: programStep(out, reply, now); break;
    case Kind::ReadBack: readBackStep(out, reply, now); break;
    case Kind::ReadInfo: readInfoStep(out, reply, now); break;
    case Kind::SetClock:
    case Kind::VideoSettings: settingsStep(out, reply, now); break;
    case Kind::FontUpload:
    case Kind::FirmwareUpload: uploadStep(out, reply, now); break;
    case Kind::Fuses: break;
    }
}

void Exchange::programStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now) {
    if (!isEscAck(reply)) {
        fail(out, Failure::Refused);
        return;
    }
    const int k = blockIndex_;
    setPosition(out, k);
    if (k >= ProgramBlocks) {
        complete(out);
        phase_ = Phase::CloseWait;  // the last bytes leave the port before it closes
        deadline_ = now.ms + CloseDelayMs;
        return;
    }
    awaitReply(now);
    if (k < MainBlocks) {
        out.send.push_back(block(image_.mainArea, k));
    } else if (k < MainBlocks + HeaderBlocks) {
        if (programPhase_ == 0) {
            out.send.push_back(commandWord(Command::ProgramHeader));
            programPhase_ = 1;
            return;
        }
        out.send.push_back(block(image_.headerArea, k - MainBlocks));
    } else {
        if (programPhase_ == 1) {
            out.send.push_back(commandWord(Command::ProgramScreen));
            programPhase_ = 2;
            return;
        }
        out.send.push_back(block(image_.screenArea, k - MainBlocks - HeaderBlocks));
    }
    blockIndex_ = k + 1;
}

void Exchange::readBackStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now) {
    const int k = blockIndex_;
    setPosition(out, k);
    const auto into = [&](auto& area, int at) {
        std::copy_n(reply.begin(), BlockSize, area.begin() + static_cast<std::ptrdiff_t>(BlockSize) * at);
    };
    if (k < MainBlocks)
        into(image_.mainArea, k);
    else if (k < MainBlocks + HeaderBlocks)
        into(image_.headerArea, k - MainBlocks);
    else if (k < ProgramBlocks)
        into(image_.screenArea, k - MainBlocks - HeaderBlocks);
    blockIndex_ = k + 1;
    if (blockIndex_ >= ReadBackBlocks) {  // the trailing block is not acknowledged
        awaitQuiet(now);
        return;
    }
    out.send.push_back(escAck());
    if (blockIndex_ == MainBlocks) out.send.push_back(commandWord(Command::ReadHeader));
    if (blockIndex_ == MainBlocks + HeaderBlocks) out.send.push_back(commandWord(Command::ReadScreen));
    awaitReply(now);
}

void Exchange::readInfoStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now) {
    const int k = blockIndex_;
    std::copy_n(reply.begin(), BlockSize, image_.headerArea.begin() + static_cast<std::ptrdiff_t>(BlockSize) * k);
    blockIndex_ = k + 1;
    out.send.push_back(escAck());
    if (blockIndex_ < HeaderBlocks) {
        awaitReply(now);
        return;
    }
    awaitQuiet(now);  // the information is shown once the serial event has returned
}

// The clock and video blocks: the used bytes, zeros after them; the port stays open.
void Exchange::settingsStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now) {
    if (!isEscAck(reply)) return;  // the time-out ends the exchange
    out.send.push_back(settingsBlock(kind_ == Kind::SetClock ? clockDigits(now.local) : payload_));
    complete(out);
}

void Exchange::uploadStep(Output& out, const std::vector<std::uint8_t>& reply, const Instant& now) {
    if (!isEscAck(reply)) return;  // the time-out ends the exchange
    const int k = blockIndex_;
    setPosition(out, k);
    if (k >= payloadBlocks()) {
        complete(out);
        phase_ = Phase::CloseWait;
        deadline_ = now.ms + CloseDelayMs;
        return;
    }
    out.send.push_back(block(payload_, k));
    blockIndex_ = k + 1;
    awaitReply(now);
}

}  // namespace vem
