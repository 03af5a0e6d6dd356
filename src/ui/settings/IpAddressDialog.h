#pragma once
#include "settings/InterfaceRules.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class IpAddressDialog;
}

namespace vem {

// The network address dialog "IP Adresse": the device's four octets and its port.
class IpAddressDialog : public FormDialog<Ui::IpAddressDialog, IpAddressTexts> {
    Q_OBJECT
public:
    explicit IpAddressDialog(QWidget* parent);

    // Cancelling in any way empties the five edits.
    void reject() override;
};

}  // namespace vem
