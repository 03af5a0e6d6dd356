#pragma once
#include <QDialog>
#include <memory>

#include "editor/Editor.h"

namespace Ui {
class TForm2;
}

namespace vem {

// The field dialog "Felder": length, offset, types and description of one data field.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(Editor& editor, QWidget* parent);
    ~TForm2() override;

    // The dialog's tag: the field number going in; after closing, positive = accepted, 0 = cancelled.
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    void fill(const FieldDialogValues& values);
    FieldDialogValues values() const;
    Ui::TForm2& ui() { return *ui_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FlatEdit1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::unique_ptr<Ui::TForm2> ui_;
    Editor& editor_;
    int tag_ = 0;
    int dialogField_ = 0;
    std::uint8_t maxFieldLength_ = 0;
};

}  // namespace vem
