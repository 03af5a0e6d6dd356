#pragma once
#include <QDialog>
#include <memory>

#include "editor/FieldDialogLogic.h"
#include "session/Session.h"

namespace Ui {
class FieldDialog;
}

namespace vem {

// The field dialog "Felder": length, offset, types and description of one data field.
class FieldDialog : public QDialog {
    Q_OBJECT
public:
    explicit FieldDialog(QWidget* parent);
    ~FieldDialog() override;

    void fill(const FieldDialogValues& values);
    FieldDialogValues values() const;
    // How the dialog was last closed: "übernehmen", "abbrechen" (or Escape), or the close box.
    DialogClose closedBy() const { return closedBy_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void clampLength();
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::FieldDialog> ui_;
    std::uint8_t maxFieldLength_ = 0;
    DialogClose closedBy_ = DialogClose::Cancel;
};

}  // namespace vem
