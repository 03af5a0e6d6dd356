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
    connect(ui_->cancelButton, &QPushButton::clicked, this, &IpAddressDialog::SpeedButton1Click);
    connect(ui_->acceptButton, &QPushButton::clicked, this, &IpAddressDialog::SpeedButton2Click);
}

IpAddressDialog::~IpAddressDialog() = default;

void IpAddressDialog::fill(const IpAddressTexts& t) {
    showInEdit(ui_->octet1Edit, t.octets[0]);
    showInEdit(ui_->octet2Edit, t.octets[1]);
    showInEdit(ui_->octet3Edit, t.octets[2]);
    showInEdit(ui_->octet4Edit, t.octets[3]);
    showInEdit(ui_->portEdit, t.port);
}

IpAddressTexts IpAddressDialog::values() const {
    IpAddressTexts t;
    t.octets = {editText(ui_->octet1Edit), editText(ui_->octet2Edit), editText(ui_->octet3Edit),
                editText(ui_->octet4Edit)};
    t.port = editText(ui_->portEdit);
    return t;
}

void IpAddressDialog::reject() {
    for (QLineEdit* e : {ui_->octet1Edit, ui_->octet2Edit, ui_->octet3Edit, ui_->octet4Edit, ui_->portEdit})
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
