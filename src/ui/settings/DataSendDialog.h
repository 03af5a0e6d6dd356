#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class DataSendDialog;
}

namespace vem {

class MessagePresenter;
class Session;

// The data send dialog "Daten senden": the device's forwarding output, its baud rate and the
// characters sent around each data field.
class DataSendDialog : public QDialog {
    Q_OBJECT
public:
    DataSendDialog(Session& session, MessagePresenter& presenter, QWidget* parent);
    ~DataSendDialog() override;

    void fill(const DataSendEntry& entry);
    DataSendEntry values() const;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::DataSendDialog> ui_;
    Session& session_;
    MessagePresenter& presenter_;
};

}  // namespace vem
