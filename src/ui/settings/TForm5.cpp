#include "ui/settings/TForm5.h"

#include "ui/settings/SettingsWidgets.h"
#include "ui_TForm5.h"

namespace vem {

TForm5::TForm5(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TForm5>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &TForm5::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &TForm5::SpeedButton2Click);
}

TForm5::~TForm5() = default;

void TForm5::fill(const DeviceSerialPositions& p) {
    selectEntry(ui_->FlatComboBox1, p.handshake);
    selectEntry(ui_->FlatComboBox2, p.dataFormat);
    selectEntry(ui_->FlatComboBox3, p.baudIndex);
}

DeviceSerialPositions TForm5::values() const {
    return {typedEntry(ui_->FlatComboBox1), typedEntry(ui_->FlatComboBox2),
            typedEntry(ui_->FlatComboBox3)};
}

void TForm5::SpeedButton1Click() { reject(); }

void TForm5::SpeedButton2Click() { accept(); }

}  // namespace vem
