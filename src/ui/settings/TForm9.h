#pragma once
#include <QDialog>
#include <memory>

#include "settings/PosRules.h"

namespace Ui {
class TForm9;
}

namespace vem {

class MessagePresenter;

// The point-of-sale dialog "POS": register number and where and how the register's lines
// appear on the device screen.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    TForm9(MessagePresenter& presenter, QWidget* parent);
    ~TForm9() override;

    void fill(const PosEntry& entry);
    PosEntry values() const;
    void setExtendedEnabled(bool enabled);

signals:
    // "Extended" was pressed: the POS extended dialog is to be shown.
    void extendedRequested();

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

    std::unique_ptr<Ui::TForm9> ui_;
    MessagePresenter& presenter_;
};

}  // namespace vem
