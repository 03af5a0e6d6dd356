#include "ui/settings/HoldTimesDialog.h"

#include "ui/common/MessagePresenter.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_HoldTimesDialog.h"

namespace vem {

HoldTimesDialog::HoldTimesDialog(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::HoldTimesDialog>()), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->acceptButton, &QPushButton::clicked, this, &HoldTimesDialog::SpeedButton1Click);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &HoldTimesDialog::SpeedButton2Click);
}

HoldTimesDialog::~HoldTimesDialog() = default;

void HoldTimesDialog::fill(const HoldTimesTexts& texts) {
    showInEdit(ui_->dataHoldEdit, texts.data);
    showInEdit(ui_->relayHoldEdit, texts.relay);
}

HoldTimesTexts HoldTimesDialog::values() const { return {editText(ui_->dataHoldEdit), editText(ui_->relayHoldEdit)}; }

void HoldTimesDialog::SpeedButton1Click() {
    if (holdTimesAcceptable(values()))
        accept();
    else
        presenter_.showSlot(Msg::HoldTimeOutOfRange, this);
}

void HoldTimesDialog::SpeedButton2Click() { reject(); }

}  // namespace vem
