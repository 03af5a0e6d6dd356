#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class TForm11;
}

namespace vem {

class MessagePresenter;
class Session;

// The data send dialog "Daten senden": the device's forwarding output, its baud rate and the
// characters sent around each data field.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    TForm11(Session& session, MessagePresenter& presenter, QWidget* parent);
    ~TForm11() override;

    void fill(const DataSendEntry& entry);
    DataSendEntry values() const;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::TForm11> ui_;
    Session& session_;
    MessagePresenter& presenter_;
};

}  // namespace vem
