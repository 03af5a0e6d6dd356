#include "ui/settings/DataSendDialog.h"

#include "ui_DataSendDialog.h"

namespace vem {

DataSendDialog::DataSendDialog(QWidget* parent) : FormDialog(parent) {
    bind(ui_->enabledBox, &DataSendEntry::enabled);
    bind(ui_->baudBox, &DataSendEntry::baudPosition);
    bind(ui_->prefixEdit, &DataSendEntry::prefix);
    bind(ui_->suffixEdit, &DataSendEntry::suffix);
}

}  // namespace vem
