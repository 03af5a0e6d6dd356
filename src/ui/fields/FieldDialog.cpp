#include "ui/fields/FieldDialog.h"

#include <QKeyEvent>

#include "host/Encoding.h"
#include "ui_FieldDialog.h"

namespace vem {

FieldDialog::FieldDialog(QWidget* parent) : FormDialog(parent) {
    connect(ui_->lengthEdit, &QLineEdit::textChanged, this, &FieldDialog::clampLength);
}

void FieldDialog::fill(const FieldDialogValues& v) {
    closedBy_ = DialogClose::CloseBox;
    maxFieldLength_ = v.maxFieldLength;
    ui_->columnValue->setText(QString::number(v.column));
    ui_->rowValue->setText(QString::number(v.row));
    ui_->conversionBox->setCurrentIndex(v.conversionIndex);
    ui_->variableTypeBox->setCurrentIndex(v.variableTypeIndex);
    ui_->offsetEdit->setText(fromCp1252(v.offsetText));
    ui_->lengthEdit->setEnabled(v.lengthEditable);
    ui_->lengthEdit->setText(fromCp1252(v.lengthText));
    ui_->descriptionEdit->setText(fromCp1252(v.description));
}

FieldDialogValues FieldDialog::values() const {
    FieldDialogValues v;
    v.lengthText = toCp1252(ui_->lengthEdit->text());
    v.offsetText = toCp1252(ui_->offsetEdit->text());
    v.conversionIndex = ui_->conversionBox->currentIndex();
    v.variableTypeIndex = ui_->variableTypeBox->currentIndex();
    v.description = toCp1252(ui_->descriptionEdit->text());
    v.column = ui_->columnValue->text().toInt();
    v.row = ui_->rowValue->text().toInt();
    v.lengthEditable = ui_->lengthEdit->isEnabled();
    v.maxFieldLength = maxFieldLength_;
    return v;
}

// Escape means "abbrechen"; only the close box closes the dialog otherwise.
void FieldDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancelPressed();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FieldDialog::clampLength() {
    const std::string text = toCp1252(ui_->lengthEdit->text());
    const std::string clamped = clampLengthText(text, maxFieldLength_);
    if (clamped != text) ui_->lengthEdit->setText(fromCp1252(clamped));
}

void FieldDialog::acceptPressed() {
    closedBy_ = DialogClose::Accept;
    accept();
}

void FieldDialog::cancelPressed() {
    closedBy_ = DialogClose::Cancel;
    reject();
}

}  // namespace vem
