#include "ui/settings/IpAddressDialog.h"

#include "ui_IpAddressDialog.h"

namespace vem {

IpAddressDialog::IpAddressDialog(QWidget* parent) : FormDialog(parent) {
    QLineEdit* const octets[] = {ui_->octet1Edit, ui_->octet2Edit, ui_->octet3Edit, ui_->octet4Edit};
    for (std::size_t i = 0; i < std::size(octets); ++i)
        bind(octets[i], [i](auto& texts) -> auto& { return texts.octets[i]; });
    bind(ui_->portEdit, &IpAddressTexts::port);
}

void IpAddressDialog::reject() {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->clear();
    QDialog::reject();
}

}  // namespace vem
