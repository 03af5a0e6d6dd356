#include "DeviceRunner.h"

#include <QEventLoop>

#include "host/Encoding.h"
#include "serial/COMManager.h"

namespace vem::cli {

DeviceRunner::DeviceRunner(Session& session, const PortChoice& port, Console& console)
    : session_(session), console_(console), path_(port.path), link_(session, serial_) {
    serial_.Line() = serial1Line();
    serial_.Line().Baudrate = port.baud;
    COMManager().AddDevicePath(port.path);
    serial_.SetCOMPort(COMManager().NumberAt(port.path));
    link_.setReplyTimeout(port.replyTimeoutMs);
    link_.setPresenter([this](const Outcome& outcome) { show(outcome); });
    link_.setTracer([this](bool outgoing, std::span<const std::uint8_t> bytes) { console_.trace(outgoing, bytes); });
}

DeviceRunner::~DeviceRunner() { serial_.SetActive(false); }

std::string DeviceRunner::portName() const { return toCp1252(path_); }

bool DeviceRunner::run(const Outcome& started) {
    failed_ = false;
    failureSlot_ = -1;
    link_.apply(started);
    QEventLoop loop;
    while (!link_.idle()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return !failed_;
}

void DeviceRunner::show(const Outcome& outcome) {
    if (!outcome.ok && !failed_) {
        failed_ = true;
        if (!outcome.messages.empty()) failureSlot_ = outcome.messages.front();
    }
    if (outcome.refreshProgress) console_.progress(session_.progress());
    for (int slot : outcome.messages) console_.message(session_.messages(), slot, outcome.detail);
}

}  // namespace vem::cli
