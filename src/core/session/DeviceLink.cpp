// The Session's exchanges with the device: starting them, one receive step per arrival of
// bytes, the reply time-out and the deferred steps. No I/O here: what to send, when to open and
// close the port and which timers to run go out in the Outcome.
#include <algorithm>

#include "files/ImageBuild.h"
#include "files/ReadBack.h"
#include "session/Session.h"

namespace vem {

namespace {

using Mode = DeviceExchange::Mode;

std::string replaceAll(std::string text, const std::string& mark, const std::string& by) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
    return text;
}

int problemSlot(OpenFailure problem) {
    switch (problem) {
    case OpenFailure::Absent: return Msg::PortAbsent;
    case OpenFailure::Busy: return Msg::PortBusy;
    case OpenFailure::NoPermission: return Msg::PortNoPermission;
    case OpenFailure::UnsupportedSetting: return Msg::PortUnsupportedSetting;
    case OpenFailure::NotASerialPort: return Msg::PortNotSerial;
    case OpenFailure::None:
    case OpenFailure::Other: break;
    }
    return -1;
}

// A date byte in decimal, with a leading zero up to 9.
std::string twoDigits(std::uint8_t value) { return (value <= 9 ? "0" : "") + std::to_string(value); }

}  // namespace

bool Session::exchangeRunning() const { return replyTimerRunning_ || pending_ == Pending::Send; }

// ---- Building blocks ----

Outcome Session::beginExchange(const std::string& port, int operationSlot) {
    Outcome out;
    port_ = port;
    operationSlot_ = operationSlot;
    steps_ = 0;
    received_.clear();
    pending_ = Pending::None;  // a close still pending from the last exchange must not cut this one off
    ++deferToken_;
    out.link.openPort = true;
    return out;
}

void Session::startReplyTimer(Outcome& out) {
    replyTimerRunning_ = true;
    out.link.replyTimer = LinkRequests::Timer::Start;
}

void Session::stopReplyTimer(Outcome& out) {
    replyTimerRunning_ = false;
    out.link.replyTimer = LinkRequests::Timer::Stop;
}

void Session::sendBlock(Outcome& out, const std::uint8_t* area, int block) {
    std::copy_n(area + BlockSize * block, BlockSize, blockBuffer_.begin());
    out.link.send.emplace_back(blockBuffer_.begin(), blockBuffer_.begin() + BlockSize);
}

void Session::defer(Outcome& out, Pending step, int ms, std::string_view command) {
    pending_ = step;
    pendingCommand_ = command.empty() ? std::vector<std::uint8_t>{} : commandWord(command);
    out.link.deferMs = ms;
    out.link.deferToken = ++deferToken_;
}

void Session::showProgress(Outcome& out, int captionSlot, int maximum) {
    progress_ = {true, messages_.text(captionSlot), maximum, 0};
    steps_ = maximum;
    out.refreshProgress = true;
}

void Session::setProgress(Outcome& out, int position, int captionSlot, int steps) {
    progress_.position = position;
    if (position < steps) progress_.caption = messages_.text(captionSlot) + std::to_string(position + 1);
    out.refreshProgress = true;
}

void Session::hideProgress(Outcome& out) {
    if (!progress_.visible) return;
    progress_.visible = false;
    out.refreshProgress = true;
}

void Session::finishTransfer(Outcome& out) {
    hideProgress(out);
    stopReplyTimer(out);
    // The last bytes leave the port before it closes.
    defer(out, Pending::Close, CloseDelayMs);
}

std::string Session::stepDetail() const {
    std::string detail = messages_.text(Msg::StepDetail);
    detail = replaceAll(detail, "%1", port_);
    detail = replaceAll(detail, "%2", messages_.text(operationSlot_));
    detail = replaceAll(detail, "%3", std::to_string(exchange_.blockIndex));
    return replaceAll(detail, "%4", std::to_string(steps_));
}

void Session::abandon(Outcome& out, int slot) {
    out.ok = false;
    out.messages.push_back(slot);
    const Mode mode = exchange_.OperationMode;
    if (mode == Mode::FontUpload || mode == Mode::FirmwareUpload) out.messages.push_back(Msg::UploadIncomplete);
    out.detail = stepDetail();
    stopReplyTimer(out);
    out.busyCursor = false;
    out.link.closePort = true;
    exchange_.blockIndex = 0;
    pending_ = Pending::None;
    ++deferToken_;
    hideProgress(out);
    if (beforeReadBack_) {
        // An incomplete read-back is never kept: the image is what it was before.
        image_ = *beforeReadBack_;
        beforeReadBack_.reset();
    }
}

// ---- Starting the exchanges ----

Outcome Session::startProgramming(const std::string& port, const LocalTime& now) {
    if (exchangeRunning()) return Outcome::failed();
    Outcome out = beginExchange(port, Msg::OperationProgram);
    out = builtImage(out, now);  // empty cells became spaces
    if (!image_.imageTemplateLoaded) {
        out.ok = false;
        out.messages.push_back(Msg::NoImageTemplate);
        return out;
    }
    exchange_ = {Mode::Program, 1, 0, 0};
    showProgress(out, Msg::ProgramCaption, ProgramBlocks);
    startReplyTimer(out);
    defer(out, Pending::Send, FlushWaitMs, Command::Program);
    return out;
}

Outcome Session::startReadBack(const std::string& port) {
    if (exchangeRunning()) return Outcome::failed();
    Outcome out = beginExchange(port, Msg::OperationReadBack);
    beforeReadBack_ = image_;
    exchange_ = {Mode::ReadBack, 63, 0, 0};
    image_.mainArea.fill(0);
    image_.headerArea.fill(0);
    startReplyTimer(out);
    out.busyCursor = true;
    project_.writeReadoutOnSave = true;
    showProgress(out, Msg::ReadBackCaption, ProgramBlocks);
    steps_ = ReadBackBlocks;
    defer(out, Pending::Send, FlushWaitMs, Command::ReadMain);
    return out;
}

Outcome Session::startReadInfo(const std::string& port) {
    if (exchangeRunning()) return Outcome::failed();
    Outcome out = beginExchange(port, Msg::OperationReadInfo);
    exchange_.OperationMode = Mode::ReadInfo;
    exchange_.blockIndex = 0;
    exchange_.replyThreshold = 63;
    steps_ = HeaderBlocks;
    startReplyTimer(out);
    defer(out, Pending::Send, FlushWaitMs, Command::ReadHeader);
    return out;
}

Outcome Session::startSetClock(const std::string& port) {
    if (exchangeRunning()) return Outcome::failed();
    Outcome out = beginExchange(port, Msg::OperationSetClock);
    exchange_.replyThreshold = 1;
    exchange_.OperationMode = Mode::SetClock;
    steps_ = 1;
    startReplyTimer(out);
    out.link.send.push_back(commandWord(Command::SetClock));
    return out;
}

Outcome Session::startUpload(const std::string& port, Mode mode) {
    const bool font = mode == Mode::FontUpload;
    Outcome out = beginExchange(port, font ? Msg::OperationFont : Msg::OperationFirmware);
    exchange_.replyThreshold = 1;
    exchange_.OperationMode = mode;
    startReplyTimer(out);
    exchange_.blockIndex = 0;
    showProgress(out, font ? Msg::FontCaption : Msg::FirmwareCaption,
                 static_cast<int>((font ? FontSize : FirmwareSize) / BlockSize));
    defer(out, Pending::Send, FlushWaitMs, font ? Command::Font : Command::Firmware);
    return out;
}

Outcome Session::startFontUpload(const std::string& port, std::span<const std::uint8_t> font) {
    if (exchangeRunning()) return Outcome::failed();
    if (font.size() != FontSize) return Outcome::failed(Msg::FontFileWrongSize);
    std::copy(font.begin(), font.end(), fontBuffer_.begin());
    return startUpload(port, Mode::FontUpload);
}

Outcome Session::startFirmwareUpload(const std::string& port, std::span<const std::uint8_t> firmware) {
    if (exchangeRunning()) return Outcome::failed();
    // An empty file would overwrite the device's firmware with zeros.
    if (firmware.empty() || firmware.size() >= FirmwareSize) return Outcome::failed(Msg::FirmwareFileWrongSize);
    firmwareBuffer_.fill(0);
    std::copy(firmware.begin(), firmware.end(), firmwareBuffer_.begin());
    return startUpload(port, Mode::FirmwareUpload);
}

Outcome Session::startVideoSettings(const std::string& port, std::span<const std::uint8_t, VideoSettingsSize> settings) {
    if (exchangeRunning()) return Outcome::failed();
    Outcome out = beginExchange(port, Msg::OperationVideo);
    std::copy(settings.begin(), settings.end(), videoSettings_.begin());
    exchange_.replyThreshold = 1;
    exchange_.OperationMode = Mode::VideoSettings;
    steps_ = 1;
    startReplyTimer(out);
    out.link.send.push_back(commandWord(Command::Video));
    return out;
}

Outcome Session::sendFuses(const std::string& port) {
    if (exchangeRunning()) return Outcome::failed();
    Outcome out = beginExchange(port, Msg::OperationFuses);
    exchange_.replyThreshold = 1;
    exchange_.OperationMode = Mode::Idle;
    out.link.send.push_back(commandWord(Command::Fuses));
    return out;
}

// ---- Events ----

Outcome Session::receive(std::span<const std::uint8_t> bytes, const LocalTime& now) {
    Outcome out;
    received_.insert(received_.end(), bytes.begin(), bytes.end());
    if (exchange_.OperationMode == Mode::Idle) {
        received_.clear();
        return out;
    }
    if (static_cast<std::int32_t>(received_.size()) <= exchange_.replyThreshold) return out;
    std::vector<std::uint8_t> reply;
    reply.swap(received_);
    if (!replyTimerRunning_) return out;  // late or unexpected: dropped
    switch (exchange_.OperationMode) {
    case Mode::Program: programStep(out, reply); break;
    case Mode::ReadInfo: readInfoStep(out, reply); break;
    case Mode::ReadBack: readBackStep(out, reply); break;
    case Mode::SetClock: setClockStep(out, reply, now); break;
    case Mode::VideoSettings:
        if (isEscAck(reply)) sendSettingsBlock(out, videoSettings_);
        break;
    case Mode::FontUpload:
    case Mode::FirmwareUpload: uploadStep(out, reply); break;
    case Mode::Idle: break;
    }
    return out;
}

void Session::programStep(Outcome& out, const std::vector<std::uint8_t>& reply) {
    if (!isEscAck(reply)) {
        abandon(out, Msg::ProgramRefused);
        exchange_.programPhase = 0;
        return;
    }
    stopReplyTimer(out);
    const int k = exchange_.blockIndex;
    setProgress(out, k, Msg::ProgramBlockCaption, ProgramBlocks);
    if (k < MainBlocks) {
        startReplyTimer(out);
        sendBlock(out, image_.mainArea.data(), k);
        exchange_.blockIndex = k + 1;
    } else if (k < MainBlocks + HeaderBlocks) {
        startReplyTimer(out);
        if (exchange_.programPhase == 0) {
            out.link.send.push_back(commandWord(Command::ProgramHeader));
            exchange_.programPhase = 1;
        } else {
            sendBlock(out, image_.headerArea.data(), k - MainBlocks);
            exchange_.blockIndex = k + 1;
        }
    } else if (k < ProgramBlocks) {
        startReplyTimer(out);
        if (exchange_.programPhase == 1) {
            out.link.send.push_back(commandWord(Command::ProgramScreen));
            exchange_.programPhase = 2;
        } else {
            sendBlock(out, image_.screenArea.data(), k - MainBlocks - HeaderBlocks);
            exchange_.blockIndex = k + 1;
        }
    } else {
        finishTransfer(out);
    }
}

void Session::readInfoStep(Outcome& out, const std::vector<std::uint8_t>& reply) {
    stopReplyTimer(out);
    const int k = std::min(exchange_.blockIndex, 1);
    std::copy_n(reply.begin(), BlockSize, blockBuffer_.begin() + BlockSize * k);
    exchange_.blockIndex = k + 1;
    out.link.send.push_back(escAck());
    if (exchange_.blockIndex < HeaderBlocks) {
        startReplyTimer(out);
        return;
    }
    exchange_.OperationMode = Mode::Idle;
    const auto* name = blockBuffer_.data() + HeaderAt::ProjectName;
    const auto* end = std::find(name, name + HeaderAt::ProjectNameMax, 0);
    deviceInfo_.fileName.assign(name, end);
    const auto* d = blockBuffer_.data() + HeaderAt::ProgramDay;
    deviceInfo_.programmed = twoDigits(d[0]) + "." + twoDigits(d[1]) + "." + twoDigits(d[2]) + "  " +
                             twoDigits(d[3]) + ":" + twoDigits(d[4]);
    out.link.closePort = true;
    out.link.startInfoTimer = true;
}

void Session::readBackStep(Outcome& out, const std::vector<std::uint8_t>& reply) {
    const int k = exchange_.blockIndex;
    setProgress(out, k, Msg::ReadBackBlockCaption, ProgramBlocks);
    stopReplyTimer(out);
    const auto block = reply.begin();
    if (k < MainBlocks)
        std::copy_n(block, BlockSize, image_.mainArea.begin() + BlockSize * k);
    else if (k < MainBlocks + HeaderBlocks)
        std::copy_n(block, BlockSize, image_.headerArea.begin() + BlockSize * (k - MainBlocks));
    else if (k < ProgramBlocks)
        std::copy_n(block, BlockSize, image_.screenArea.begin() + BlockSize * (k - MainBlocks - HeaderBlocks));
    exchange_.blockIndex = k + 1;
    if (exchange_.blockIndex < ReadBackBlocks) {
        out.link.send.push_back(escAck());
        startReplyTimer(out);
        if (exchange_.blockIndex == MainBlocks) out.link.send.push_back(commandWord(Command::ReadHeader));
        if (exchange_.blockIndex == MainBlocks + HeaderBlocks)
            out.link.send.push_back(commandWord(Command::ReadScreen));
        return;
    }
    hideProgress(out);
    exchange_.OperationMode = Mode::Idle;
    const Outcome applied = applyReceivedImage();
    out.refreshEditor = true;
    out.refreshCaption = applied.refreshCaption;
    out.refreshSettingLabels = applied.refreshSettingLabels;
    out.busyCursor = false;
    out.link.closePort = true;
}

void Session::setClockStep(Outcome& out, const std::vector<std::uint8_t>& reply, const LocalTime& now) {
    if (!isEscAck(reply)) return;  // the time-out ends the exchange
    // Twelve digits, day first.
    std::array<std::uint8_t, 12> digits{};
    auto* at = digits.data();
    for (int value : {now.day, now.month, now.year, now.hour, now.minute, now.second}) {
        const int v = (value % 100 + 100) % 100;
        *at++ = static_cast<std::uint8_t>('0' + v / 10);
        *at++ = static_cast<std::uint8_t>('0' + v % 10);
    }
    sendSettingsBlock(out, digits);
}

// The clock and video blocks: the used bytes, zeros after them; the port stays open.
void Session::sendSettingsBlock(Outcome& out, std::span<const std::uint8_t> used) {
    stopReplyTimer(out);
    blockBuffer_.fill(0);
    std::copy(used.begin(), used.end(), blockBuffer_.begin());
    exchange_.OperationMode = Mode::Idle;
    out.link.send.emplace_back(blockBuffer_.begin(), blockBuffer_.begin() + BlockSize);
}

void Session::uploadStep(Outcome& out, const std::vector<std::uint8_t>& reply) {
    if (!isEscAck(reply)) return;  // the time-out ends the exchange
    const bool font = exchange_.OperationMode == Mode::FontUpload;
    const int blocks = static_cast<int>((font ? FontSize : FirmwareSize) / BlockSize);
    stopReplyTimer(out);
    const int k = exchange_.blockIndex;
    setProgress(out, k, font ? Msg::FontBlockCaption : Msg::FirmwareBlockCaption, blocks);
    if (k >= blocks) {
        finishTransfer(out);
        return;
    }
    startReplyTimer(out);
    sendBlock(out, font ? fontBuffer_.data() : firmwareBuffer_.data(), k);
    exchange_.blockIndex = k + 1;
}

Outcome Session::applyReceivedImage() {
    beforeReadBack_.reset();
    image_.imageTemplateLoaded = true;  // a complete read-back is a whole device image
    return rebuildFromImage();
}

Outcome Session::replyTimedOut() {
    Outcome out;
    if (!replyTimerRunning_) return out;
    abandon(out, Msg::ReplyTimeOut);
    return out;
}

Outcome Session::infoDelayPassed() {
    Outcome out;
    out.showDeviceInfo = true;
    return out;
}

Outcome Session::runDeferred(std::uint64_t token) {
    Outcome out;
    if (token != deferToken_ || pending_ == Pending::None) return out;
    const Pending step = pending_;
    pending_ = Pending::None;
    if (step == Pending::Send) {
        received_.clear();  // what came before the command is no reply to it
        out.link.send.push_back(pendingCommand_);
        return out;
    }
    out.link.closePort = true;
    exchange_.OperationMode = Mode::Idle;
    exchange_.blockIndex = 0;
    exchange_.programPhase = 0;
    return out;
}

Outcome Session::portOpenFailed(OpenFailure problem) {
    Outcome out;
    abandon(out, Msg::PortCannotOpen);
    exchange_.OperationMode = Mode::Idle;
    out.link.closePort = false;
    out.detail = port_;
    if (problemSlot(problem) >= 0) out.detail += ": " + messages_.text(problemSlot(problem));
    return out;
}

Outcome Session::deviceGone() {
    Outcome out;
    if (!exchangeRunning()) return out;
    abandon(out, Msg::DeviceGone);
    out.link.closePort = false;  // it is closed already
    return out;
}

}  // namespace vem
