#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class DeviceSerialDialog;
}

namespace vem {

// The device serial line dialog "QV - Schnittstelle": handshake, data format and baud rate on
// which the device receives the register's data.
class DeviceSerialDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceSerialDialog(QWidget* parent);
    ~DeviceSerialDialog() override;

    void fill(const DeviceSerialPositions& positions);
    DeviceSerialPositions values() const;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::DeviceSerialDialog> ui_;
};

}  // namespace vem
