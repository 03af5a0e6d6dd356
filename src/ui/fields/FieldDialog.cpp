#include "ui/fields/FieldDialog.h"

#include <QKeyEvent>

#include "host/Encoding.h"
#include "ui_FieldDialog.h"

namespace vem {

FieldDialog::FieldDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::FieldDialog>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->FlatEdit1, &QLineEdit::textChanged, this, &FieldDialog::FlatEdit1Change);
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &FieldDialog::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &FieldDialog::SpeedButton2Click);
}

FieldDialog::~FieldDialog() = default;

void FieldDialog::fill(const FieldDialogValues& v) {
    closedBy_ = DialogClose::CloseBox;
    maxFieldLength_ = v.maxFieldLength;
    ui_->Label2->setText(QString::number(v.column));
    ui_->Label3->setText(QString::number(v.row));
    ui_->FlatComboBox1->setCurrentIndex(v.conversionIndex);
    ui_->FlatComboBox2->setCurrentIndex(v.variableTypeIndex);
    ui_->FlatEdit2->setText(fromCp1252(v.offsetText));
    ui_->FlatEdit1->setEnabled(v.lengthEditable);
    ui_->FlatEdit1->setText(fromCp1252(v.lengthText));
    ui_->FlatEdit3->setText(fromCp1252(v.description));
}

FieldDialogValues FieldDialog::values() const {
    FieldDialogValues v;
    v.lengthText = toCp1252(ui_->FlatEdit1->text());
    v.offsetText = toCp1252(ui_->FlatEdit2->text());
    v.conversionIndex = ui_->FlatComboBox1->currentIndex();
    v.variableTypeIndex = ui_->FlatComboBox2->currentIndex();
    v.description = toCp1252(ui_->FlatEdit3->text());
    v.column = ui_->Label2->text().toInt();
    v.row = ui_->Label3->text().toInt();
    v.lengthEditable = ui_->FlatEdit1->isEnabled();
    v.maxFieldLength = maxFieldLength_;
    return v;
}

// Escape means "abbrechen"; only the close box closes the dialog otherwise.
void FieldDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        SpeedButton1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FieldDialog::FlatEdit1Change() {
    const std::string text = toCp1252(ui_->FlatEdit1->text());
    const std::string clamped = clampLengthText(text, maxFieldLength_);
    if (clamped != text) ui_->FlatEdit1->setText(fromCp1252(clamped));
}

void FieldDialog::SpeedButton1Click() {
    closedBy_ = DialogClose::Cancel;
    done(QDialog::Rejected);
}

void FieldDialog::SpeedButton2Click() {
    closedBy_ = DialogClose::Accept;
    done(QDialog::Accepted);
}

}  // namespace vem
