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
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &PosDialog::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &PosDialog::SpeedButton2Click);
    connect(ui_->SpeedButton3, &QPushButton::clicked, this, &PosDialog::SpeedButton3Click);
}

PosDialog::~PosDialog() = default;

void PosDialog::fill(const PosEntry& e) {
    showInEdit(ui_->FlatEdit3, e.registerNumber);
    selectEntry(ui_->FlatComboBox1, e.firstLine);
    selectEntry(ui_->FlatComboBox2, e.lineCount);
    selectEntry(ui_->FlatComboBox3, e.scrollDirection);
    selectEntry(ui_->FlatComboBox4, e.backgroundMode);
    selectEntry(ui_->FlatComboBox5, e.transparency);
    selectEntry(ui_->FlatComboBox6, e.textColour);
}

PosEntry PosDialog::values() const {
    PosEntry e;
    e.registerNumber = editText(ui_->FlatEdit3);
    e.firstLine = ui_->FlatComboBox1->currentIndex();
    e.lineCount = ui_->FlatComboBox2->currentIndex();
    e.scrollDirection = ui_->FlatComboBox3->currentIndex();
    e.backgroundMode = ui_->FlatComboBox4->currentIndex();
    e.transparency = ui_->FlatComboBox5->currentIndex();
    e.textColour = ui_->FlatComboBox6->currentIndex();
    return e;
}

void PosDialog::setExtendedEnabled(bool enabled) { ui_->SpeedButton3->setEnabled(enabled); }

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
