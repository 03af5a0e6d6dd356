#include "ui/fields/FieldDialog.h"

#include <QTimer>
#include <utility>

#include "host/Encoding.h"
#include "ui/common/MessagePresenter.h"
#include "ui_FieldDialog.h"

namespace vem {

FieldDialog::FieldDialog(MessagePresenter& presenter, QWidget* parent) : FormDialog(parent), presenter_(presenter) {
    connect(ui_->lengthEdit, &QLineEdit::textChanged, this, &FieldDialog::limitLength);
}

void FieldDialog::fill(const FieldDialogValues& v) {
    closedBy_ = DialogClose::CloseBox;
    limitToSay_.reset();
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

void FieldDialog::showEvent(QShowEvent* event) {
    FormDialog::showEvent(event);
    if (limitToSay_) sayLimit();
}

void FieldDialog::limitLength() {
    const LengthText length = limitLengthText(toCp1252(ui_->lengthEdit->text()), maxFieldLength_);
    if (!length.limit) return;
    ui_->lengthEdit->setText(fromCp1252(length.text));
    limitToSay_ = length.limit;
    if (isVisible()) sayLimit();
}

void FieldDialog::sayLimit() {
    // Once the key or the showing that cut the length is handled; a closed dialog says nothing.
    QTimer::singleShot(0, this, [this] {
        const auto limit = std::exchange(limitToSay_, std::nullopt);
        if (limit && isVisible()) presenter_.showSlot(*limit, this);
    });
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
