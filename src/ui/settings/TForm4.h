#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class TForm4;
}

namespace vem {

class MessagePresenter;

// The hold time dialog "Haltezeiten": how long the device shows data and holds the relay.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(MessagePresenter& presenter, QWidget* parent);
    ~TForm4() override;

    void fill(const HoldTimesTexts& texts);
    HoldTimesTexts values() const;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::TForm4> ui_;
    MessagePresenter& presenter_;
};

}  // namespace vem
