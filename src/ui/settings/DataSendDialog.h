#pragma once
#include "settings/InterfaceRules.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class DataSendDialog;
}

namespace vem {

// The data send dialog "Daten senden": the device's forwarding output, its baud rate and the
// characters sent around each data field.
class DataSendDialog : public FormDialog<Ui::DataSendDialog, DataSendEntry> {
    Q_OBJECT
public:
    explicit DataSendDialog(QWidget* parent);
};

}  // namespace vem
