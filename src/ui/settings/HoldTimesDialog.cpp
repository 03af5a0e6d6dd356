#include "ui/settings/HoldTimesDialog.h"

#include "ui_HoldTimesDialog.h"

namespace vem {

HoldTimesDialog::HoldTimesDialog(QWidget* parent) : FormDialog(parent) {
    bind(ui_->dataHoldEdit, &HoldTimesTexts::data);
    bind(ui_->relayHoldEdit, &HoldTimesTexts::relay);
}

}  // namespace vem
