#include "settings/SettingsDialogs.h"

#include <QPushButton>

#include "common/Encoding.h"
#include "model/Project.h"
#include "model/DeviceImage.h"
#include "settings/SettingsWidgets.h"
#include "settings/TForm11.h"
#include "settings/TForm12.h"
#include "settings/TForm4.h"
#include "settings/TForm5.h"
#include "settings/TForm8.h"
#include "settings/TForm9.h"
#include "ui_TForm9.h"

namespace vem {

SettingsDialogs::SettingsDialogs(Project& project, DeviceImage& image, MessagePresenter& presenter,
                                 QWidget* parent)
    : project_(project), image_(image) {
    form4_ = new TForm4(parent);
    form5_ = new TForm5(parent);
    form8_ = new TForm8(presenter, parent);
    form9_ = new TForm9(presenter, parent);
    form11_ = new TForm11(project_.device, presenter, parent);
    form12_ = new TForm12(project_.posExtended, parent);
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

void SettingsDialogs::runHoldTimes() {
    form4_->fill(holdTimesTexts(project_.device));
    if (execCentred(*form4_) == QDialog::Accepted) acceptHoldTimes(project_.device, form4_->values());
}

void SettingsDialogs::runDeviceSerial() {
    form5_->fill(deviceSerialPositions(project_.device));
    if (execCentred(*form5_) == QDialog::Accepted) acceptDeviceSerial(project_.device, form5_->values());
}

std::optional<std::pair<QString, QString>> SettingsDialogs::runIpAddress() {
    form8_->fill(ipAddressTexts(project_.device));
    form8_->setResult(QDialog::Rejected);
    if (execCentred(*form8_) != QDialog::Accepted) return std::nullopt;
    const IpAddressTexts typed = form8_->values();
    if (!storeIpAddress(project_.device, typed)) return std::nullopt;
    image_.storePortSplit(project_.device.IpPort);
    return std::pair{fromCp1252(typedAddressLabel(typed)), fromCp1252(typed.port)};
}

void SettingsDialogs::runDataSend() {
    // "übernehmen" stores into the settings itself; nothing is left to do after closing.
    form11_->fill(dataSendEntry(project_.device));
    execCentred(*form11_);
}

void SettingsDialogs::runPos() {
    updateExtendedButton();
    form9_->fill(posEntry(project_.pos));
    form9_->setResult(QDialog::Rejected);
    if (execCentred(*form9_) == QDialog::Accepted) storePosEntry(project_.pos, form9_->values());
}

void SettingsDialogs::runPosExtended() {
    // The dialog stores its results with its own buttons.
    form12_->fill();
    execCentred(*form12_);
}

void SettingsDialogs::updateExtendedButton() {
    form9_->ui().SpeedButton3->setEnabled(posExtendedAvailable(image_));
}

}  // namespace vem
