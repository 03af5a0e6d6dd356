#include "session/DeviceOperations.h"

#include <algorithm>

#include "compare/ImageCompare.h"

namespace vem {

namespace {

using Kind = Exchange::Kind;

// Milliseconds as seconds: "2", "0.3", "1.25".
std::string secondsText(int ms) {
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 == 0) return text;
    std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
    while (fraction.back() == '0') fraction.pop_back();
    return text + "." + fraction;
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

struct Captions {
    int window;  // the progress window's caption at the start
    int block;   // its caption per block, the block's number after it
};

std::optional<Captions> progressCaptions(Kind kind) {
    switch (kind) {
    case Kind::Program: return Captions{Msg::ProgramCaption, Msg::ProgramBlockCaption};
    case Kind::ReadBack: return Captions{Msg::ReadBackCaption, Msg::ReadBackBlockCaption};
    case Kind::FontUpload: return Captions{Msg::FontCaption, Msg::FontBlockCaption};
    case Kind::FirmwareUpload: return Captions{Msg::FirmwareCaption, Msg::FirmwareBlockCaption};
    default: return std::nullopt;
    }
}

// The status line of an operation that ended well; -1: its end shows itself (the device
// information) or is decided elsewhere (a read-back, a programming run).
int confirmationSlot(Kind kind) {
    switch (kind) {
    case Kind::SetClock: return Msg::ClockSet;
    case Kind::VideoSettings: return Msg::VideoSignalSent;
    case Kind::FontUpload: return Msg::FontLoaded;
    case Kind::FirmwareUpload: return Msg::FirmwareLoaded;
    case Kind::Fuses: return Msg::FusesSent;
    default: return -1;
    }
}

// What a read-back must carry to be taken without asking: every image this program builds does.
bool carriesMark(const DeviceImage& image) { return image.headerArea[HeaderAt::Marker] == 'N'; }

}  // namespace

DeviceOperations::DeviceOperations(DeviceProject& project, MessageTable& messages)
    : project_(project), messages_(messages) {
    setReplyTimeout(ReplyTimeoutMs);
}

bool DeviceOperations::exchangeRunning() const {
    return running_ && running_->exchange.status() == Exchange::Status::Running;
}

bool DeviceOperations::readyForExchange() {
    if (exchangeRunning()) return false;
    statusSlot_ = -1;
    return true;
}

std::optional<Millis> DeviceOperations::nextDeadline() const {
    if (!running_) return std::nullopt;
    return running_->exchange.nextDeadline();
}

// ---- Starting ----

Outcome DeviceOperations::startExchange(const std::string& port, int operationSlot, Exchange exchange) {
    // An exchange still waiting to close its port is replaced: the port stays open for this one.
    exchange.setReplyTimeout(replyTimeoutMs_);
    running_ = RunningExchange{std::move(exchange), port, operationSlot, std::nullopt};
    readBackWaits_ = false;
    Outcome out;
    out.link.openPort = true;
    if (progressCaptions(running_->exchange.kind())) showProgress(out);
    return out;
}

Outcome DeviceOperations::startProgramming(const std::string& port, const LocalTime& now, AfterProgramming after,
                                           bool despiteProblems) {
    if (!readyForExchange()) return Outcome::failed();
    const Outcome built = project_.buildForProgramming(now, despiteProblems);
    if (!built.ok) return built;
    Outcome started = startExchange(port, Msg::OperationProgram, Exchange::program(project_.image()));
    if (after == AfterProgramming::Verify) running_->verifyAgainst = project_.image();
    started.refreshEditor = built.refreshEditor;
    return started;
}

Outcome DeviceOperations::startReadBack(const std::string& port) {
    if (!readyForExchange()) return Outcome::failed();
    Outcome out = startExchange(port, Msg::OperationReadBack, Exchange::readBack());
    out.busyCursor = true;
    return out;
}

Outcome DeviceOperations::startReadInfo(const std::string& port) {
    if (!readyForExchange()) return Outcome::failed();
    return startExchange(port, Msg::OperationReadInfo, Exchange::readInfo());
}

Outcome DeviceOperations::startSetClock(const std::string& port) {
    if (!readyForExchange()) return Outcome::failed();
    return startExchange(port, Msg::OperationSetClock, Exchange::setClock());
}

Outcome DeviceOperations::startFontUpload(const std::string& port, std::span<const std::uint8_t> font) {
    if (!readyForExchange()) return Outcome::failed();
    if (font.size() != FontSize) return Outcome::failed(Msg::FontFileWrongSize);
    return startExchange(port, Msg::OperationFont, Exchange::fontUpload(font));
}

Outcome DeviceOperations::startFirmwareUpload(const std::string& port, std::span<const std::uint8_t> firmware) {
    if (!readyForExchange()) return Outcome::failed();
    // An empty file would overwrite the device's firmware with zeros.
    if (firmware.empty() || firmware.size() >= FirmwareSize) return Outcome::failed(Msg::FirmwareFileWrongSize);
    return startExchange(port, Msg::OperationFirmware, Exchange::firmwareUpload(firmware));
}

Outcome DeviceOperations::startVideoSettings(const std::string& port, std::span<const std::uint8_t, VideoSettingsSize> settings) {
    if (!readyForExchange()) return Outcome::failed();
    return startExchange(port, Msg::OperationVideo, Exchange::videoSettings(settings));
}

Outcome DeviceOperations::sendFuses(const std::string& port) {
    if (!readyForExchange()) return Outcome::failed();
    return startExchange(port, Msg::OperationFuses, Exchange::fuses());
}

// ---- Events ----

Outcome DeviceOperations::receive(std::span<const std::uint8_t> bytes, const Instant& now) {
    if (!running_) return {};
    return linked(running_->exchange.receive(bytes, now));
}

Outcome DeviceOperations::poll(const Instant& now) {
    if (!running_) return {};
    return linked(running_->exchange.poll(now));
}

Outcome DeviceOperations::portOpenFailed(OpenFailure problem) {
    Outcome out = abandoned(Msg::PortCannotOpen);
    out.link.closePort = false;
    out.detail = running_ ? running_->port : std::string();
    if (problemSlot(problem) >= 0) out.detail += ": " + messages_.text(problemSlot(problem));
    return out;
}

Outcome DeviceOperations::deviceGone() {
    if (!exchangeRunning()) return {};
    Outcome out = abandoned(Msg::DeviceGone);
    out.link.closePort = false;  // it is closed already
    return out;
}

Outcome DeviceOperations::interrupt() {
    if (!running_ || !running_->exchange.nextDeadline()) return {};
    if (exchangeRunning()) return abandoned(Msg::Interrupted);
    Outcome out = linked(running_->exchange.abandon());  // the wait before closing is cut short
    out.link.closePort = true;
    return out;
}

std::pair<int, int> DeviceOperations::exchangeStep() const {
    if (!running_) return {0, 0};
    return {running_->exchange.step(), running_->exchange.steps()};
}

Outcome DeviceOperations::abandoned(int slot) {
    if (!exchangeRunning()) return Outcome::failed(slot);
    Outcome out = linked(running_->exchange.abandon());
    failed(out, slot);
    return out;
}

Outcome DeviceOperations::linked(const Exchange::Output& output) {
    Outcome out;
    out.projectAsBefore = true;  // until a read-back is taken
    out.link.send = output.send;
    out.link.closePort = output.closePort;
    const Exchange& exchange = running_->exchange;
    if (output.progressed && progress_.visible) {
        progress_.position = exchange.position();
        if (exchange.position() < exchange.progressMaximum())
            progress_.caption =
                messages_.text(progressCaptions(exchange.kind())->block) + std::to_string(exchange.position() + 1);
        out.refreshProgress = true;
    }
    if (!output.ended) return out;
    if (exchange.status() == Exchange::Status::Completed) {
        completed(out);
        return out;
    }
    switch (exchange.failure()) {
    case Exchange::Failure::Refused: failed(out, Msg::ProgramRefused); break;
    case Exchange::Failure::TimedOut: failed(out, Msg::ReplyTimeOut); break;
    case Exchange::Failure::ExtraBytes: failed(out, Msg::ReplyExtraBytes); break;
    case Exchange::Failure::Abandoned:  // the caller says why
    case Exchange::Failure::None: break;
    }
    return out;
}

// ---- Ends ----

void DeviceOperations::showProgress(Outcome& out) {
    const Exchange& exchange = running_->exchange;
    progress_ = {true, messages_.text(progressCaptions(exchange.kind())->window), exchange.progressMaximum(), 0};
    out.refreshProgress = true;
}

void DeviceOperations::hideProgress(Outcome& out) {
    if (!progress_.visible) return;
    progress_.visible = false;
    out.refreshProgress = true;
}

void DeviceOperations::completed(Outcome& out) {
    const Exchange& exchange = running_->exchange;
    if (running_->verifyAgainst) {
        if (exchange.kind() == Kind::Program) {
            startVerify(out);  // the progress window goes on with the read-back
            return;
        }
        hideProgress(out);
        compareVerified(out);
        return;
    }
    hideProgress(out);
    showStatus(confirmationSlot(exchange.kind()));
    if (exchange.kind() == Kind::ReadInfo) {
        out.showDeviceInfo = true;  // its key leads to the service menu, a blank device's too
        // Without the mark, the name and date bytes are no project's: none is shown.
        if (!carriesMark(exchange.receivedImage())) {
            deviceInfo_ = {messages_.text(Msg::DeviceInfoNoProject), std::string()};
            failed(out, Msg::DeviceHoldsNoProject);
            return;
        }
        const auto header = exchange.receivedHeader();
        const auto* name = header.data() + HeaderAt::ProjectName;
        const auto* end = std::find(name, name + HeaderAt::ProjectNameMax, 0);
        deviceInfo_.fileName.assign(name, end);
        const auto* d = header.data() + HeaderAt::ProgramDay;
        deviceInfo_.programmed = twoDigits(d[0]) + "." + twoDigits(d[1]) + "." + twoDigits(d[2]) + "  " +
                                 twoDigits(d[3]) + ":" + twoDigits(d[4]);
    }
    if (exchange.kind() != Kind::ReadBack) return;
    out.busyCursor = false;
    receivedImage_ = exchange.receivedImage();
    if (!carriesMark(*receivedImage_)) {
        readBackWaits_ = true;
        out.question = Question{Question::Kind::TakeReadBack, {}};
        return;
    }
    const Outcome applied = project_.applyReadBack(*receivedImage_);
    showStatus(Msg::ReadBackDone);
    out.projectAsBefore = false;
    out.refreshEditor = true;
    out.refreshCaption = applied.refreshCaption;
    out.refreshSettingLabels = applied.refreshSettingLabels;
}

void DeviceOperations::startVerify(Outcome& out) {
    RunningExchange programmed = std::move(*running_);
    Exchange readBack = Exchange::readBack();
    readBack.setReplyTimeout(replyTimeoutMs_);
    running_ = RunningExchange{std::move(readBack), programmed.port, Msg::OperationVerify,
                               std::move(programmed.verifyAgainst)};
    showProgress(out);
}

// Nothing of the verify's read-back becomes the project: it is only compared.
void DeviceOperations::compareVerified(Outcome& out) {
    receivedImage_ = running_->exchange.receivedImage();
    const auto differences = compareImages(*running_->verifyAgainst, *receivedImage_, false);
    if (differences.empty()) {
        showStatus(Msg::ProgrammedAndVerified);
        return;
    }
    out.ok = false;
    out.messages.push_back(Msg::VerifyFailed);
    out.detail = differenceLine(differences.front(), messages_);
}

const std::string& DeviceOperations::statusLine() const {
    static const std::string none;
    return project_.fileChanges() == statusFileChanges_ ? messages_.text(statusSlot_) : none;
}

void DeviceOperations::showStatus(int slot) {
    statusSlot_ = slot;
    statusFileChanges_ = project_.fileChanges();
}

void DeviceOperations::setReplyTimeout(int ms) {
    replyTimeoutMs_ = ms;
    messages_.setValues(Msg::ReplyTimeOut, {secondsText(ms)});
}

std::string DeviceOperations::stepDetail() const {
    const Exchange& exchange = running_->exchange;
    return fillPlaceholders(messages_.text(Msg::StepDetail),
                            {running_->port, messages_.text(running_->operationSlot),
                             std::to_string(exchange.step()), std::to_string(exchange.steps())});
}

// A failed exchange: its message with the step it failed at; nothing of it is applied.
void DeviceOperations::failed(Outcome& out, int slot) {
    out.ok = false;
    out.messages.push_back(slot);
    const Kind kind = running_->exchange.kind();
    if (kind == Kind::FontUpload || kind == Kind::FirmwareUpload) out.messages.push_back(Msg::UploadIncomplete);
    // Once a block has gone out, the device no longer holds what it held before.
    if (kind == Kind::Program && running_->exchange.step() > 0) out.messages.push_back(Msg::ProgramIncomplete);
    out.detail = stepDetail();
    out.busyCursor = false;
    hideProgress(out);
}

Outcome DeviceOperations::takeReadBack() {
    if (!readBackWaits_ || !receivedImage_) return Outcome::failed();
    readBackWaits_ = false;
    Outcome out = project_.applyReadBack(*receivedImage_);
    showStatus(Msg::ReadBackDone);
    return out;
}

Outcome DeviceOperations::dropReadBack() {
    readBackWaits_ = false;
    return {};
}


}  // namespace vem
