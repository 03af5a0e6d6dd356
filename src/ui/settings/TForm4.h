#pragma once
#include <QDialog>
#include <memory>

#include "settings/InterfaceRules.h"

namespace Ui {
class TForm4;
}

namespace vem {

// The hold time dialog "Haltezeiten": how long the device shows data and holds the relay.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent);
    ~TForm4() override;

    void fill(const HoldTimesTexts& texts);
    HoldTimesTexts values() const;
    Ui::TForm4& ui() { return *ui_; }

private:
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::TForm4> ui_;
};

}  // namespace vem
