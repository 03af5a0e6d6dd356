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
    holdTimes_ = new HoldTimesDialog(presenter, parent);
    deviceSerial_ = new DeviceSerialDialog(parent);
    ipAddress_ = new IpAddressDialog(presenter, parent);
    pos_ = new PosDialog(presenter, parent);
    dataSend_ = new DataSendDialog(session_, presenter, parent);
    posExtended_ = new PosExtendedDialog(session_, parent);
    QObject::connect(pos_, &PosDialog::extendedRequested, pos_, [this] { runPosExtended(); });
    updateExtendedButton();
}

SettingsDialogs::~SettingsDialogs() {
    // The forms may already be gone with their parent window.
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

int SettingsDialogs::execCentred(QDialog& dialog) {
    centreOnScreen(&dialog);
    return dialog.exec();
}

Outcome SettingsDialogs::runHoldTimes() {
    holdTimes_->fill(holdTimesTexts(session_.project().device));
    Outcome out;
    if (execCentred(*holdTimes_) == QDialog::Accepted) out = session_.acceptHoldTimes(holdTimes_->values());
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runDeviceSerial() {
    deviceSerial_->fill(deviceSerialPositions(session_.project().device));
    Outcome out;
    if (execCentred(*deviceSerial_) == QDialog::Accepted) out = session_.acceptDeviceSerial(deviceSerial_->values());
    out.refreshSettingLabels = true;
    return out;
}

Outcome SettingsDialogs::runIpAddress() {
    ipAddress_->fill(ipAddressTexts(session_.project().device));
    ipAddress_->setResult(QDialog::Rejected);
    if (execCentred(*ipAddress_) != QDialog::Accepted) return {};
    return session_.acceptIpAddress(ipAddress_->values());
}

Outcome SettingsDialogs::runDataSend() {
    // "übernehmen" hands the entry to the session itself; nothing is left to do after closing.
    dataSend_->fill(dataSendEntry(session_.project().device));
    execCentred(*dataSend_);
    return {};
}

Outcome SettingsDialogs::runPos() {
    updateExtendedButton();
    pos_->fill(posEntry(session_.project().pos));
    pos_->setResult(QDialog::Rejected);
    if (execCentred(*pos_) != QDialog::Accepted) return {};
    return session_.acceptPos(pos_->values());
}

void SettingsDialogs::runPosExtended() {
    // The dialog hands its results to the session with its own buttons.
    posExtended_->fill();
    execCentred(*posExtended_);
}

void SettingsDialogs::updateExtendedButton() { pos_->setExtendedEnabled(session_.posExtendedAvailable()); }

}  // namespace vem
