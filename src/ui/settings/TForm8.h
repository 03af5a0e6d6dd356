#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class TForm8;
}

namespace vem {

class MessagePresenter;

// The network address dialog "IP Adresse": the device's four octets and its port.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    TForm8(MessagePresenter& presenter, QWidget* parent);
    ~TForm8() override;

    void fill(const IpAddressTexts& texts);
    IpAddressTexts values() const;

    // Cancelling in any way empties the five edits.
    void reject() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::TForm8> ui_;
    MessagePresenter& presenter_;
};

}  // namespace vem
