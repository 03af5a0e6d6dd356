#include "ui/settings/SettingsDialogs.h"

#include <QPushButton>

#include "session/Session.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui/settings/TForm11.h"
#include "ui/settings/TForm12.h"
#include "ui/settings/TForm4.h"
#include "ui/settings/TForm5.h"
#include "ui/settings/TForm8.h"
#include "ui/settings/TForm9.h"

namespace vem {

SettingsDialogs::SettingsDialogs(Session& session, MessagePresenter& presenter, QWidget* parent)
    : session_(session) {
    form4_ = new TForm4(presenter, parent);
    form5_ = new TForm5(parent);
    form8_ = new TForm8(presenter, parent);
    form9_ = new TForm9(presenter, parent);
    form11_ = new TForm11(session_, presenter, parent);
    form12_ = new TForm12(session_, parent);
    QObject::connect(form9_, &TForm9::extendedRequested, form9_, [this] { runPosExtended(); });
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

TForm4& SettingsDialogs::holdTimesForm() { return *form4_; }
TForm5& SettingsDialogs::deviceSerialForm() { return *form5_; }
TForm8& SettingsDialogs::ipAddressForm() { return *form8_; }
TForm11& SettingsDialogs::dataSendForm() { return *form11_; }
TForm9& SettingsDialogs::posForm() { return *form9_; }
TForm12& SettingsDialogs::posExtendedForm() { return *form12_; }

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
