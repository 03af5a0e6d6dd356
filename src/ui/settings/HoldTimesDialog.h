#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class HoldTimesDialog;
}

namespace vem {

class MessagePresenter;

// The hold time dialog "Haltezeiten": how long the device shows data and holds the relay.
class HoldTimesDialog : public QDialog {
    Q_OBJECT
public:
    HoldTimesDialog(MessagePresenter& presenter, QWidget* parent);
    ~HoldTimesDialog() override;

    void fill(const HoldTimesTexts& texts);
    HoldTimesTexts values() const;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::HoldTimesDialog> ui_;
    MessagePresenter& presenter_;
};

}  // namespace vem
