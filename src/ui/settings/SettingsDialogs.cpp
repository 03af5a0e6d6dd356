#include "ui/settings/SettingsDialogs.h"

#include <functional>

#include "session/Session.h"
#include "ui/common/LanguageApply.h"
#include "ui/common/MessagePresenter.h"
#include "ui/common/WindowPlacement.h"
#include "ui/settings/DataSendDialog.h"
#include "ui/settings/DeviceSerialDialog.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/settings/IpAddressDialog.h"
#include "ui/settings/PosDialog.h"
#include "ui/settings/PosExtendedDialog.h"

namespace vem {

namespace {

// Shows `dialog` with `shown` in the middle of the screen until `take` accepts what it holds:
// that outcome, or none when the dialog was cancelled.
template <class Dialog, class Shown, class Take>
Outcome run(MessagePresenter& presenter, Dialog& dialog, const Shown& shown, Take take) {
    Outcome taken;
    centreOnScreen(&dialog);
    dialog.ask(shown, [&](const auto& typed) {
        const Outcome outcome = take(typed);
        if (outcome.ok) {
            taken = outcome;
            return true;
        }
        for (int slot : outcome.messages) presenter.showSlot(slot, &dialog);
        if (outcome.dialogMessage) presenter.showDialogMessage(*outcome.dialogMessage, &dialog);
        return false;
    });
    return taken;
}

}  // namespace

SettingsDialogs::SettingsDialogs(Session& session, MessagePresenter& presenter, QWidget* parent)
    : session_(session), presenter_(presenter) {
    holdTimes_ = new HoldTimesDialog(parent);
    deviceSerial_ = new DeviceSerialDialog(parent);
    ipAddress_ = new IpAddressDialog(parent);
    pos_ = new PosDialog(parent);
    dataSend_ = new DataSendDialog(parent);
    posExtended_ = new PosExtendedDialog(parent);
    QObject::connect(pos_, &PosDialog::extendedRequested, pos_, [this] { runPosExtended(); });
    QObject::connect(posExtended_, &PosExtendedDialog::keywordRequested, posExtended_,
                     [this](int pressed, const std::string& text, int action) {
                         int current = posExtended_->currentKeyword();
                         if (session_.switchKeyword(current, pressed, text, action).ok)
                             posExtended_->showKeywords(session_.project().posExtended, current);
                     });
    updateExtendedButton();
}

SettingsDialogs::~SettingsDialogs() {
    // The dialogs may already be gone with their parent window.
    delete posExtended_.data();
    delete dataSend_.data();
    delete pos_.data();
    delete ipAddress_.data();
    delete deviceSerial_.data();
    delete holdTimes_.data();
}

HoldTimesDialog& SettingsDialogs::holdTimesDialog() { return *holdTimes_; }
DeviceSerialDialog& SettingsDialogs::deviceSerialDialog() { return *deviceSerial_; }
IpAddressDialog& SettingsDialogs::ipAddressDialog() { return *ipAddress_; }
DataSendDialog& SettingsDialogs::dataSendDialog() { return *dataSend_; }
PosDialog& SettingsDialogs::posDialog() { return *pos_; }
PosExtendedDialog& SettingsDialogs::posExtendedDialog() { return *posExtended_; }

Outcome SettingsDialogs::runHoldTimes() {
    const DeviceSettings& device = session_.project().device;
    Outcome out = run(presenter_, *holdTimes_, holdTimesTexts(device), std::bind_front(&Session::acceptHoldTimes, &session_));
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runDeviceSerial() {
    const DeviceSettings& device = session_.project().device;
    Outcome out = run(presenter_, *deviceSerial_, deviceSerialPositions(device),
                      std::bind_front(&Session::acceptDeviceSerial, &session_));
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runIpAddress() {
    return run(presenter_, *ipAddress_, ipAddressTexts(session_.project().device),
               std::bind_front(&Session::acceptIpAddress, &session_));
}

Outcome SettingsDialogs::runDataSend() {
    // A refused entry leaves the switch and the baud digit stored, however the dialog ends.
    return run(presenter_, *dataSend_, dataSendEntry(session_.project().device),
               std::bind_front(&Session::acceptDataSend, &session_));
}

Outcome SettingsDialogs::runPos() {
    updateExtendedButton();
    return run(presenter_, *pos_, posEntry(session_.project().pos), std::bind_front(&Session::acceptPos, &session_));
}

void SettingsDialogs::runPosExtended() {
    const Outcome taken = run(presenter_, *posExtended_, session_.project().posExtended, [this](const PosExtendedValues& v) {
        return session_.acceptPosExtended(v.entry, v.keyword, v.keywordText, v.keywordAction);
    });
    // What it says of the values it took, over the POS dialog it was opened from.
    for (int slot : taken.messages) presenter_.showSlot(slot, pos_);
}

void SettingsDialogs::applyLanguage(const LanguageFile& file) {
    using S = LanguageSection;
    const std::pair<QWidget*, S> dialogs[] = {
        {holdTimes_, S::HoldTimes}, {deviceSerial_, S::DeviceSerial}, {ipAddress_, S::IpAddress},
        {pos_, S::Pos},             {dataSend_, S::DataSend},         {posExtended_, S::PosExtended},
    };
    for (const auto& [dialog, section] : dialogs) applyLanguageSection(dialog, section, file.section(section));
}

void SettingsDialogs::updateExtendedButton() { pos_->setExtendedEnabled(session_.posExtendedAvailable()); }

}  // namespace vem
