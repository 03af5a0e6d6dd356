#include "ui/settings/TForm4.h"

#include "ui/common/MessagePresenter.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_TForm4.h"

namespace vem {

TForm4::TForm4(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TForm4>()), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &TForm4::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &TForm4::SpeedButton2Click);
}

TForm4::~TForm4() = default;

void TForm4::fill(const HoldTimesTexts& texts) {
    showInEdit(ui_->FlatEdit1, texts.data);
    showInEdit(ui_->FlatEdit2, texts.relay);
}

HoldTimesTexts TForm4::values() const { return {editText(ui_->FlatEdit1), editText(ui_->FlatEdit2)}; }

void TForm4::SpeedButton1Click() {
    if (holdTimesAcceptable(values()))
        accept();
    else
        presenter_.showSlot(Msg::HoldTimeOutOfRange, this);
}

void TForm4::SpeedButton2Click() { reject(); }

}  // namespace vem
