#pragma once
#include "settings/InterfaceRules.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class DeviceSerialDialog;
}

namespace vem {

// The device serial line dialog "QV - Schnittstelle": handshake, data format and baud rate on
// which the device receives the register's data.
class DeviceSerialDialog : public FormDialog<Ui::DeviceSerialDialog, DeviceSerialPositions> {
    Q_OBJECT
public:
    explicit DeviceSerialDialog(QWidget* parent);
};

}  // namespace vem
