#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class IpAddressDialog;
}

namespace vem {

class MessagePresenter;

// The network address dialog "IP Adresse": the device's four octets and its port.
class IpAddressDialog : public QDialog {
    Q_OBJECT
public:
    IpAddressDialog(MessagePresenter& presenter, QWidget* parent);
    ~IpAddressDialog() override;

    void fill(const IpAddressTexts& texts);
    IpAddressTexts values() const;

    // Cancelling in any way empties the five edits.
    void reject() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::IpAddressDialog> ui_;
    MessagePresenter& presenter_;
};

}  // namespace vem
