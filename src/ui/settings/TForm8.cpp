#include "ui/settings/TForm8.h"

#include "ui/common/MessagePresenter.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_TForm8.h"

namespace vem {

TForm8::TForm8(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TForm8>()), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &TForm8::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &TForm8::SpeedButton2Click);
}

TForm8::~TForm8() = default;

void TForm8::fill(const IpAddressTexts& t) {
    showInEdit(ui_->FlatEdit1, t.octets[0]);
    showInEdit(ui_->FlatEdit2, t.octets[1]);
    showInEdit(ui_->FlatEdit3, t.octets[2]);
    showInEdit(ui_->FlatEdit4, t.octets[3]);
    showInEdit(ui_->FlatEdit5, t.port);
}

IpAddressTexts TForm8::values() const {
    IpAddressTexts t;
    t.octets = {editText(ui_->FlatEdit1), editText(ui_->FlatEdit2), editText(ui_->FlatEdit3),
                editText(ui_->FlatEdit4)};
    t.port = editText(ui_->FlatEdit5);
    return t;
}

void TForm8::reject() {
    for (QLineEdit* e : {ui_->FlatEdit1, ui_->FlatEdit2, ui_->FlatEdit3, ui_->FlatEdit4, ui_->FlatEdit5})
        e->clear();
    QDialog::reject();
}

void TForm8::SpeedButton1Click() { reject(); }

void TForm8::SpeedButton2Click() {
    if (ipAddressAcceptable(values()))
        accept();
    else
        presenter_.showDialogMessage(DialogId::IpAddress, this);
}

}  // namespace vem
