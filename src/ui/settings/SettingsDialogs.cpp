#include "ui/settings/SettingsDialogs.h"

#include <functional>

#include "session/Session.h"
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
    : session_(session),
      presenter_(presenter),
      holdTimes_(LanguageSection::HoldTimes, [parent] { return new HoldTimesDialog(parent); }),
      deviceSerial_(LanguageSection::DeviceSerial, [parent] { return new DeviceSerialDialog(parent); }),
      ipAddress_(LanguageSection::IpAddress, [parent] { return new IpAddressDialog(parent); }),
      pos_(LanguageSection::Pos,
           [this, parent] {
               auto* pos = new PosDialog(parent);
               QObject::connect(pos, &PosDialog::extendedRequested, pos, [this] { runPosExtended(); });
               pos->setExtendedEnabled(session_.settings().posExtendedAvailable());
               return pos;
           }),
      dataSend_(LanguageSection::DataSend, [parent] { return new DataSendDialog(parent); }),
      posExtended_(LanguageSection::PosExtended, [this, parent] {
          auto* extended = new PosExtendedDialog(parent);
          QObject::connect(extended, &PosExtendedDialog::keywordRequested, extended,
                           [this, extended](int pressed, const std::string& text, int action) {
                               int current = extended->currentKeyword();
                               if (session_.settings().switchKeyword(current, pressed, text, action).ok)
                                   extended->showKeywords(session_.document().project().posExtended, current);
                           });
          return extended;
      }) {}

SettingsDialogs::~SettingsDialogs() {
    // The dialogs may already be gone with their parent window.
    delete posExtended_.built();
    delete dataSend_.built();
    delete pos_.built();
    delete ipAddress_.built();
    delete deviceSerial_.built();
    delete holdTimes_.built();
}

HoldTimesDialog& SettingsDialogs::holdTimesDialog() { return holdTimes_.get(); }
DeviceSerialDialog& SettingsDialogs::deviceSerialDialog() { return deviceSerial_.get(); }
IpAddressDialog& SettingsDialogs::ipAddressDialog() { return ipAddress_.get(); }
DataSendDialog& SettingsDialogs::dataSendDialog() { return dataSend_.get(); }
PosDialog& SettingsDialogs::posDialog() { return pos_.get(); }
PosExtendedDialog& SettingsDialogs::posExtendedDialog() { return posExtended_.get(); }

Outcome SettingsDialogs::runHoldTimes() {
    const DeviceSettings& device = session_.document().project().device;
    Outcome out = run(presenter_, holdTimesDialog(), holdTimesTexts(device), std::bind_front(&SettingsEditing::acceptHoldTimes, &session_.settings()));
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runDeviceSerial() {
    const DeviceSettings& device = session_.document().project().device;
    Outcome out = run(presenter_, deviceSerialDialog(), deviceSerialPositions(device),
                      std::bind_front(&SettingsEditing::acceptDeviceSerial, &session_.settings()));
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runIpAddress() {
    return run(presenter_, ipAddressDialog(), ipAddressTexts(session_.document().project().device),
               std::bind_front(&SettingsEditing::acceptIpAddress, &session_.settings()));
}

Outcome SettingsDialogs::runDataSend() {
    // A refused entry leaves the switch and the baud digit stored, however the dialog ends.
    return run(presenter_, dataSendDialog(), dataSendEntry(session_.document().project().device),
               std::bind_front(&SettingsEditing::acceptDataSend, &session_.settings()));
}

Outcome SettingsDialogs::runPos() {
    updateExtendedButton();
    return run(presenter_, posDialog(), posEntry(session_.document().project().pos), std::bind_front(&SettingsEditing::acceptPos, &session_.settings()));
}

void SettingsDialogs::runPosExtended() {
    const Outcome taken = run(presenter_, posExtendedDialog(), session_.document().project().posExtended, [this](const PosExtendedValues& v) {
        return session_.settings().acceptPosExtended(v.entry, v.keyword, v.keywordText, v.keywordAction);
    });
    // What it says of the values it took, over the POS dialog it was opened from.
    for (int slot : taken.messages) presenter_.showSlot(slot, &posDialog());
}

void SettingsDialogs::applyLanguage(const LanguageFile& file) {
    holdTimes_.takeLanguage(file);
    deviceSerial_.takeLanguage(file);
    ipAddress_.takeLanguage(file);
    pos_.takeLanguage(file);
    dataSend_.takeLanguage(file);
    posExtended_.takeLanguage(file);
}

void SettingsDialogs::updateExtendedButton() {
    if (PosDialog* pos = pos_.built()) pos->setExtendedEnabled(session_.settings().posExtendedAvailable());
}

}  // namespace vem
