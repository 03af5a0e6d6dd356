#include "ui/settings/DeviceSerialDialog.h"

#include "ui/settings/SettingsWidgets.h"
#include "ui_DeviceSerialDialog.h"

namespace vem {

DeviceSerialDialog::DeviceSerialDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::DeviceSerialDialog>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &DeviceSerialDialog::SpeedButton1Click);
    connect(ui_->acceptButton, &QPushButton::clicked, this, &DeviceSerialDialog::SpeedButton2Click);
}

DeviceSerialDialog::~DeviceSerialDialog() = default;

void DeviceSerialDialog::fill(const DeviceSerialPositions& p) {
    selectEntry(ui_->handshakeBox, p.handshake);
    selectEntry(ui_->formatBox, p.dataFormat);
    selectEntry(ui_->baudBox, p.baudIndex);
}

DeviceSerialPositions DeviceSerialDialog::values() const {
    return {typedEntry(ui_->handshakeBox), typedEntry(ui_->formatBox),
            typedEntry(ui_->baudBox)};
}

void DeviceSerialDialog::SpeedButton1Click() { reject(); }

void DeviceSerialDialog::SpeedButton2Click() { accept(); }

}  // namespace vem
