#include "ui/settings/DeviceSerialDialog.h"

#include "ui_DeviceSerialDialog.h"

namespace vem {

DeviceSerialDialog::DeviceSerialDialog(QWidget* parent) : FormDialog(parent) {
    bind(ui_->handshakeBox, &DeviceSerialPositions::handshake);
    bind(ui_->formatBox, &DeviceSerialPositions::dataFormat);
    bind(ui_->baudBox, &DeviceSerialPositions::baudIndex);
}

}  // namespace vem
