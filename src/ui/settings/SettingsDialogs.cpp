#include "ui/settings/SettingsDialogs.h"

#include <QPushButton>

#include "session/Session.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui/settings/DataSendDialog.h"
#include "ui/settings/PosExtendedDialog.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/settings/DeviceSerialDialog.h"
#include "ui/settings/IpAddressDialog.h"
#include "ui/settings/PosDialog.h"

namespace vem {

SettingsDialogs::SettingsDialogs(Session& session, MessagePresenter& presenter, QWidget* parent)
    : session_(session) {
    form4_ = new HoldTimesDialog(presenter, parent);
    form5_ = new DeviceSerialDialog(parent);
    form8_ = new IpAddressDialog(presenter, parent);
    form9_ = new PosDialog(presenter, parent);
    form11_ = new DataSendDialog(session_, presenter, parent);
    form12_ = new PosExtendedDialog(session_, parent);
    QObject::connect(form9_, &PosDialog::extendedRequested, form9_, [this] { runPosExtended(); });
    updateExtendedButton();
}

SettingsDialogs::~SettingsDialogs() {
    // The forms may already be gone with their parent window.
    delete form12_.data();
    delete form11_.data();
    delete form9_.data();
    delete form8_.data();
    delete form5_.data();
    delete form4_.data();
}

HoldTimesDialog& SettingsDialogs::holdTimesForm() { return *form4_; }
DeviceSerialDialog& SettingsDialogs::deviceSerialForm() { return *form5_; }
IpAddressDialog& SettingsDialogs::ipAddressForm() { return *form8_; }
DataSendDialog& SettingsDialogs::dataSendForm() { return *form11_; }
PosDialog& SettingsDialogs::posForm() { return *form9_; }
PosExtendedDialog& SettingsDialogs::posExtendedForm() { return *form12_; }

int SettingsDialogs::execCentred(QDialog& dialog) {
    centreOnScreen(&dialog);
    return dialog.exec();
}

Outcome SettingsDialogs::runHoldTimes() {
    form4_->fill(holdTimesTexts(session_.project().device));
    Outcome out;
    if (execCentred(*form4_) == QDialog::Accepted) out = session_.acceptHoldTimes(form4_->values());
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runDeviceSerial() {
    form5_->fill(deviceSerialPositions(session_.project().device));
    Outcome out;
    if (execCentred(*form5_) == QDialog::Accepted) out = session_.acceptDeviceSerial(form5_->values());
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runIpAddress() {
    form8_->fill(ipAddressTexts(session_.project().device));
    form8_->setResult(QDialog::Rejected);
    if (execCentred(*form8_) != QDialog::Accepted) return {};
    return session_.acceptIpAddress(form8_->values());
}

Outcome SettingsDialogs::runDataSend() {
    // "übernehmen" hands the entry to the session itself; nothing is left to do after closing.
    form11_->fill(dataSendEntry(session_.project().device));
    execCentred(*form11_);
    return {};
}

Outcome SettingsDialogs::runPos() {
    updateExtendedButton();
    form9_->fill(posEntry(session_.project().pos));
    form9_->setResult(QDialog::Rejected);
    if (execCentred(*form9_) != QDialog::Accepted) return {};
    return session_.acceptPos(form9_->values());
}

void SettingsDialogs::runPosExtended() {
    // The dialog hands its results to the session with its own buttons.
    form12_->fill();
    execCentred(*form12_);
}

void SettingsDialogs::updateExtendedButton() { form9_->setExtendedEnabled(session_.posExtendedAvailable()); }

}  // namespace vem
