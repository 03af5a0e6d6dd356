#include "host/StationRun.h"

#include <QTimer>

#include "compare/ImageCompare.h"
#include "host/Encoding.h"
#include "serial/PortRegistry.h"

namespace vem {

StationRun::StationRun(const StationProject& project, const QString& path, PortRegistry& ports)
    : project_(project), serial_(ports), link_(session_, serial_), port_(toCp1252(path)) {
    if (project_.language) session_.takeLanguage(*project_.language);
    serial_.line() = serial1Line();
    serial_.line().Baudrate = project_.baud;
    ports.addDevicePath(path);
    serial_.setPortNumber(ports.numberAt(path));
    link_.setReplyTimeout(project_.replyTimeoutMs);
    link_.setPresenter([this](const Outcome& outcome) { onOutcome(outcome); });
    resultImage_ = project_.expected;
}

void StationRun::start() {
    session_.document().takeProject(project_.project, project_.image);
    if (project_.always) {
        program();
        return;
    }
    link_.apply(session_.device().startReadBack(port_));
}

void StationRun::program() {
    phase_ = Phase::Programming;
    // A read-back the session took as its project gives way to the project again.
    session_.document().takeProject(project_.project, project_.image);
    const Outcome started = session_.device().startProgramming(port_, SessionLink::now().local,
                                                                DeviceOperations::AfterProgramming::Verify, true);
    resultImage_ = session_.document().image();  // built with this moment's date
    link_.apply(started);
}

void StationRun::interrupt() {
    if (ended_) return;
    link_.apply(session_.device().interrupt());
    // Between the check and the programming no exchange runs to be abandoned.
    if (!ended_) fail(Outcome::failed(Msg::Interrupted));
}

void StationRun::onOutcome(const Outcome& outcome) {
    if (ended_) return;
    if (outcome.refreshProgress) emit progressed();
    if (!outcome.ok && !outcome.question) {
        fail(outcome);
        return;
    }
    if (session_.device().exchangeRunning() || session_.device().exchangeOperation() == 0) return;
    if (phase_ == Phase::Checking && session_.device().receivedImage()) {
        // The next operation starts once this outcome has been carried out.
        QTimer::singleShot(0, this, [this] { compareHeld(); });
        phase_ = Phase::Programming;
        return;
    }
    if (phase_ == Phase::Programming && session_.device().exchangeOperation() == Msg::OperationVerify) {
        resultImage_ = *session_.device().receivedImage();
        finish({StationResult::Verified, {}, {}});
    }
}

void StationRun::compareHeld() {
    if (ended_) return;
    const DeviceImage& held = *session_.device().receivedImage();
    if (compareImages(project_.expected, held, true).empty()) {
        resultImage_ = held;
        finish({StationResult::AlreadyHeld, {}, {}});
        return;
    }
    program();
}

std::string StationRun::stepName() const {
    const int operation = session_.device().exchangeOperation();
    std::string name = operation == Msg::OperationVerify    ? "verify"
                       : operation == Msg::OperationProgram ? "program"
                                                            : "check";
    const auto [step, steps] = session_.device().exchangeStep();
    if (steps > 0) name += " " + std::to_string(step) + "/" + std::to_string(steps);
    return name;
}

void StationRun::fail(const Outcome& outcome) {
    const int slot = outcome.messages.empty() ? -1 : outcome.messages.front();
    std::string message = slot >= 0 ? session_.messages().text(slot) : std::string();
    if (!outcome.detail.empty()) message += " (" + outcome.detail + ")";
    const bool gone = slot == Msg::DeviceGone;
    finish({gone ? StationResult::Pulled : StationResult::Failed, slot == Msg::PortCannotOpen ? "open" : stepName(),
            message});
}

void StationRun::finish(StationRunEnd end) {
    ended_ = true;
    serial_.close();  // once what was sent has left it
    emit ended(end);
}

}  // namespace vem
