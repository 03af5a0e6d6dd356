#include "ui/settings/PosDialog.h"

#include "ui/common/MessagePresenter.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_PosDialog.h"

namespace vem {

PosDialog::PosDialog(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PosDialog>()), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &PosDialog::SpeedButton1Click);
    connect(ui_->acceptButton, &QPushButton::clicked, this, &PosDialog::SpeedButton2Click);
    connect(ui_->extendedButton, &QPushButton::clicked, this, &PosDialog::SpeedButton3Click);
}

PosDialog::~PosDialog() = default;

void PosDialog::fill(const PosEntry& e) {
    showInEdit(ui_->registerNumberEdit, e.registerNumber);
    selectEntry(ui_->firstLineBox, e.firstLine);
    selectEntry(ui_->lineCountBox, e.lineCount);
    selectEntry(ui_->scrollDirectionBox, e.scrollDirection);
    selectEntry(ui_->backgroundBox, e.backgroundMode);
    selectEntry(ui_->transparencyBox, e.transparency);
    selectEntry(ui_->textColourBox, e.textColour);
}

PosEntry PosDialog::values() const {
    PosEntry e;
    e.registerNumber = editText(ui_->registerNumberEdit);
    e.firstLine = ui_->firstLineBox->currentIndex();
    e.lineCount = ui_->lineCountBox->currentIndex();
    e.scrollDirection = ui_->scrollDirectionBox->currentIndex();
    e.backgroundMode = ui_->backgroundBox->currentIndex();
    e.transparency = ui_->transparencyBox->currentIndex();
    e.textColour = ui_->textColourBox->currentIndex();
    return e;
}

void PosDialog::setExtendedEnabled(bool enabled) { ui_->extendedButton->setEnabled(enabled); }

void PosDialog::SpeedButton1Click() { reject(); }

void PosDialog::SpeedButton2Click() {
    switch (checkPosEntry(values())) {
    case PosVerdict::Accept:
        accept();
        break;
    case PosVerdict::LinesBeyond:
        presenter_.showDialogMessage(DialogId::Pos, this);
        break;
    case PosVerdict::KeepOpen:
        break;
    }
}

void PosDialog::SpeedButton3Click() { emit extendedRequested(); }

}  // namespace vem
