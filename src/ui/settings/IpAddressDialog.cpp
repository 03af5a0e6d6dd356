#include "ui/settings/IpAddressDialog.h"

#include "ui/common/MessagePresenter.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_IpAddressDialog.h"

namespace vem {

IpAddressDialog::IpAddressDialog(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::IpAddressDialog>()), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &IpAddressDialog::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &IpAddressDialog::SpeedButton2Click);
}

IpAddressDialog::~IpAddressDialog() = default;

void IpAddressDialog::fill(const IpAddressTexts& t) {
    showInEdit(ui_->FlatEdit1, t.octets[0]);
    showInEdit(ui_->FlatEdit2, t.octets[1]);
    showInEdit(ui_->FlatEdit3, t.octets[2]);
    showInEdit(ui_->FlatEdit4, t.octets[3]);
    showInEdit(ui_->FlatEdit5, t.port);
}

IpAddressTexts IpAddressDialog::values() const {
    IpAddressTexts t;
    t.octets = {editText(ui_->FlatEdit1), editText(ui_->FlatEdit2), editText(ui_->FlatEdit3),
                editText(ui_->FlatEdit4)};
    t.port = editText(ui_->FlatEdit5);
    return t;
}

void IpAddressDialog::reject() {
    for (QLineEdit* e : {ui_->FlatEdit1, ui_->FlatEdit2, ui_->FlatEdit3, ui_->FlatEdit4, ui_->FlatEdit5})
        e->clear();
    QDialog::reject();
}

void IpAddressDialog::SpeedButton1Click() { reject(); }

void IpAddressDialog::SpeedButton2Click() {
    if (ipAddressAcceptable(values()))
        accept();
    else
        presenter_.showDialogMessage(DialogId::IpAddress, this);
}

}  // namespace vem
