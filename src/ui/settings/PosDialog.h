#pragma once
#include <QDialog>
#include <memory>

#include "settings/PosRules.h"

namespace Ui {
class PosDialog;
}

namespace vem {

class MessagePresenter;

// The point-of-sale dialog "POS": register number and where and how the register's lines
// appear on the device screen.
class PosDialog : public QDialog {
    Q_OBJECT
public:
    PosDialog(MessagePresenter& presenter, QWidget* parent);
    ~PosDialog() override;

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

    std::unique_ptr<Ui::PosDialog> ui_;
    MessagePresenter& presenter_;
};

}  // namespace vem
