#pragma once
#include "editor/FieldDialogLogic.h"
#include "session/Session.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class FieldDialog;
}

namespace vem {

// The field dialog "Felder": length, offset, types and description of one data field.
class FieldDialog : public FormDialog<Ui::FieldDialog, FieldDialogValues> {
    Q_OBJECT
public:
    explicit FieldDialog(QWidget* parent);

    void fill(const FieldDialogValues& values) override;
    FieldDialogValues values() const override;
    // How the dialog was last closed: "übernehmen", "abbrechen" (or Escape), or the close box.
    DialogClose closedBy() const { return closedBy_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void acceptPressed() override;
    void cancelPressed() override;
    // Holds the typed length to the field's longest.
    void clampLength();

    std::uint8_t maxFieldLength_ = 0;
    DialogClose closedBy_ = DialogClose::Cancel;
};

}  // namespace vem
