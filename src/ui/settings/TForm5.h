#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class TForm5;
}

namespace vem {

// The device serial line dialog "QV - Schnittstelle": handshake, data format and baud rate on
// which the device receives the register's data.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent);
    ~TForm5() override;

    void fill(const DeviceSerialPositions& positions);
    DeviceSerialPositions values() const;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::TForm5> ui_;
};

}  // namespace vem
