#pragma once
#include "settings/PosRules.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class PosDialog;
}

namespace vem {

// The point-of-sale dialog "POS": register number and where and how the register's lines
// appear on the device screen.
class PosDialog : public FormDialog<Ui::PosDialog, PosEntry> {
    Q_OBJECT
public:
    explicit PosDialog(QWidget* parent);

    void setExtendedEnabled(bool enabled);

signals:
    // "Extended" was pressed: the POS extended dialog is to be shown.
    void extendedRequested();
};

}  // namespace vem
