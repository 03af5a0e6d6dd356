#pragma once
#include "settings/InterfaceRules.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class HoldTimesDialog;
}

namespace vem {

// The hold time dialog "Haltezeiten": how long the device shows data and holds the relay.
class HoldTimesDialog : public FormDialog<Ui::HoldTimesDialog, HoldTimesTexts> {
    Q_OBJECT
public:
    explicit HoldTimesDialog(QWidget* parent);
};

}  // namespace vem
