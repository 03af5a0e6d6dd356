#include "ui/settings/PosDialog.h"

#include "ui_PosDialog.h"

namespace vem {

PosDialog::PosDialog(QWidget* parent) : FormDialog(parent) {
    connect(ui_->extendedButton, &QPushButton::clicked, this, &PosDialog::extendedRequested);
    bind(ui_->registerNumberEdit, &PosEntry::registerNumber);
    bind(ui_->firstLineBox, &PosEntry::firstLine);
    bind(ui_->lineCountBox, &PosEntry::lineCount);
    bind(ui_->scrollDirectionBox, &PosEntry::scrollDirection);
    bind(ui_->backgroundBox, &PosEntry::backgroundMode);
    bind(ui_->transparencyBox, &PosEntry::transparency);
    bind(ui_->textColourBox, &PosEntry::textColour);
}

void PosDialog::setExtendedEnabled(bool enabled) { ui_->extendedButton->setEnabled(enabled); }

}  // namespace vem
