#pragma once
#include <QDialog>
#include <memory>

#include "model/DeviceSettings.h"
#include "settings/InterfaceRules.h"

namespace Ui {
class TForm11;
}

namespace vem {

class MessagePresenter;

// The data send dialog "Daten senden": the device's forwarding output, its baud rate and the
// characters sent around each data field.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    TForm11(DeviceSettings& settings, MessagePresenter& presenter, QWidget* parent);
    ~TForm11() override;

    void fill(const DataSendEntry& entry);
    DataSendEntry values() const;
    Ui::TForm11& ui() { return *ui_; }

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::TForm11> ui_;
    DeviceSettings& settings_;
    MessagePresenter& presenter_;
};

}  // namespace vem
