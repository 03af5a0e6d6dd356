#include "DeviceRunner.h"

#include <QEventLoop>

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
    start(started);
    QEventLoop loop;
    while (!idle()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    closePort();
    while (!portClosed()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return !failed_;
}

void DeviceRunner::show(const Outcome& outcome) {
    if (!outcome.ok && !failed_) {
        failed_ = true;
        if (!outcome.messages.empty()) failureSlot_ = outcome.messages.front();
        failureDetail_ = outcome.detail;
    }
    if (outcome.askTakeReadBack) unmarkedReadBack_ = true;
    if (outcome.refreshProgress) console_.progress(session_.progress(), lane_);
    for (int slot : outcome.messages) console_.message(session_.messages(), slot, outcome.detail, lane_);
}

QJsonObject DeviceRunner::failureFacts() const {
    const std::string& text = failureSlot_ >= 0 ? session_.messages().text(failureSlot_) : std::string();
    return {{"message", text.empty() ? QString("message %1").arg(failureSlot_) : fromCp1252(text)},
            {"detail", fromCp1252(failureDetail_)}};
}

int deviceExit(int failureSlot) {
    switch (failureSlot) {
    case Msg::NoImageTemplate:
    case Msg::FontFileWrongSize:
    case Msg::FirmwareFileWrongSize: return FileProblem;
    default: return DeviceFailure;
    }
}

}  // namespace vem::cli
