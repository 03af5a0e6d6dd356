#include "DeviceRunner.h"

#include <QEventLoop>
#include <algorithm>

#include "InterruptWatch.h"
#include "Request.h"
#include "host/Encoding.h"
#include "serial/PortRegistry.h"

namespace vem::cli {

DeviceRunner::DeviceRunner(Session& session, const PortChoice& port, PortRegistry& ports, Console& console, int lane)
    : session_(session), console_(console), lane_(lane), path_(port.path), serial_(ports), link_(session, serial_) {
    serial_.line() = serial1Line();
    serial_.line().Baudrate = port.baud;
    ports.addDevicePath(port.path);
    serial_.setPortNumber(ports.numberAt(port.path));
    link_.setReplyTimeout(port.replyTimeoutMs);
    link_.setPresenter([this](const Outcome& outcome) { show(outcome); });
    link_.setTracer(
        [this](bool outgoing, std::span<const std::uint8_t> bytes) { console_.trace(outgoing, bytes, lane_); });
}

std::string DeviceRunner::portName() const { return toCp1252(path_); }

void DeviceRunner::start(const Outcome& started) {
    failed_ = false;
    unmarkedReadBack_ = false;
    failureSlot_ = -1;
    failureDetail_.clear();
    link_.apply(started);
}

bool DeviceRunner::run(const Outcome& started) {
    InterruptWatch interrupts;
    QObject::connect(&interrupts, &InterruptWatch::interrupted, [this](int signal) { interrupt(signal); });
    start(started);
    QEventLoop loop;
    while (!idle()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    closePort();
    while (!portClosed()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return !failed_;
}

void DeviceRunner::interrupt(int signal) {
    if (signal_ != 0) return;
    signal_ = signal;
    const bool failedBefore = failed_;
    const bool midExchange = session_.device().exchangeRunning();
    const auto [step, steps] = session_.device().exchangeStep();
    const Outcome stopped = session_.device().interrupt();
    link_.apply(stopped);
    closePort();
    if (failedBefore) return;  // its failure says where it stopped
    failed_ = true;
    failureSlot_ = Msg::Interrupted;
    interruptedFacts_ = {{"signal", signal}};
    // Cut short in the wait before the port closes, the operation had completed.
    const bool completed = !midExchange && steps > 0 && step >= steps;
    const int slot = midExchange ? Msg::InterruptedAtStep
                     : completed ? Msg::InterruptedAfterCompletion
                                 : Msg::InterruptedBetweenOperations;
    interruption_ = fromCp1252(session_.messages().text({slot, {std::to_string(step), std::to_string(steps)}}));
    interruptedFacts_["completed"] = completed;
    if (midExchange) {
        interruptedFacts_["step"] = step;
        interruptedFacts_["steps"] = steps;
    }
    const bool incomplete = std::count(stopped.messages.begin(), stopped.messages.end(), Msg::ProgramIncomplete) > 0;
    interruptedFacts_["deviceIncomplete"] = incomplete;
    if (incomplete) interruption_ += ": " + fromCp1252(session_.messages().text(Msg::ProgramIncomplete));
    console_.error(console_.lanesLabelled() ? interruption_ : path_ + ": " + interruption_, lane_);
}

void DeviceRunner::show(const Outcome& outcome) {
    if (!outcome.ok && !failed_) {
        failed_ = true;
        if (!outcome.messages.empty()) failureSlot_ = outcome.messages.front();
        failureDetail_ = outcome.detail;
    }
    if (outcome.question && outcome.question->kind == Question::Kind::TakeReadBack) unmarkedReadBack_ = true;
    if (outcome.refreshProgress) console_.progress(session_.device().progress(), lane_);
    if (signal_ != 0) return;  // the interruption's one line says it
    for (int slot : outcome.messages) console_.message(session_.messages(), slot, outcome.detail, lane_);
}

QJsonObject DeviceRunner::failureFacts() const {
    const std::string& text = failureSlot_ >= 0 ? session_.messages().text(failureSlot_) : std::string();
    QJsonObject facts{{"message", !interruption_.isEmpty() ? interruption_
                                  : text.empty()           ? QString("message %1").arg(failureSlot_)
                                                           : fromCp1252(text)},
                      {"detail", fromCp1252(failureDetail_)}};
    if (!interruption_.isEmpty()) facts["interrupted"] = interruptedFacts_;
    return facts;
}

int DeviceRunner::failureExit() const {
    if (!interruption_.isEmpty()) return InterruptWatch::exitCode(signal_);
    switch (failureSlot_) {
    case Msg::NoImageTemplate:
    case Msg::FontFileWrongSize:
    case Msg::FirmwareFileWrongSize: return FileProblem;
    default: return DeviceFailure;
    }
}

}  // namespace vem::cli
