#pragma once
#include <optional>

#include "editor/FieldDialogLogic.h"
#include "session/Session.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class FieldDialog;
}

namespace vem {

class MessagePresenter;

// The field dialog "Felder": length, offset, types and description of one data field.
class FieldDialog : public FormDialog<Ui::FieldDialog, FieldDialogValues> {
    Q_OBJECT
public:
    FieldDialog(MessagePresenter& presenter, QWidget* parent);

    void fill(const FieldDialogValues& values) override;
    FieldDialogValues values() const override;
    // How the dialog was last closed: "übernehmen", "abbrechen" (or Escape), or the close box.
    DialogClose closedBy() const { return closedBy_; }

protected:
    // A length cut while the dialog was filled is said once it is seen.
    void showEvent(QShowEvent* event) override;

private:
    void acceptPressed() override;
    void cancelPressed() override;
    // Holds the length to the field's longest, and says so when it cuts.
    void limitLength();
    void sayLimit();

    MessagePresenter& presenter_;
    std::uint8_t maxFieldLength_ = 0;
    DialogClose closedBy_ = DialogClose::Cancel;
    std::optional<SlotMessage> limitToSay_;
};

}  // namespace vem
