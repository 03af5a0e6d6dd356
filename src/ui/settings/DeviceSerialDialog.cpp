#include "ui/settings/DeviceSerialDialog.h"

#include "ui/settings/SettingsWidgets.h"
#include "ui_DeviceSerialDialog.h"

namespace vem {

DeviceSerialDialog::DeviceSerialDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::DeviceSerialDialog>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &DeviceSerialDialog::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &DeviceSerialDialog::SpeedButton2Click);
}

DeviceSerialDialog::~DeviceSerialDialog() = default;

void DeviceSerialDialog::fill(const DeviceSerialPositions& p) {
    selectEntry(ui_->FlatComboBox1, p.handshake);
    selectEntry(ui_->FlatComboBox2, p.dataFormat);
    selectEntry(ui_->FlatComboBox3, p.baudIndex);
}

DeviceSerialPositions DeviceSerialDialog::values() const {
    return {typedEntry(ui_->FlatComboBox1), typedEntry(ui_->FlatComboBox2),
            typedEntry(ui_->FlatComboBox3)};
}

void DeviceSerialDialog::SpeedButton1Click() { reject(); }

void DeviceSerialDialog::SpeedButton2Click() { accept(); }

}  // namespace vem
