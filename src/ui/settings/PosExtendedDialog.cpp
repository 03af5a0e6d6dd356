#include "ui/settings/PosExtendedDialog.h"

#include "ui/common/ControlValues.h"
#include "ui_PosExtendedDialog.h"

namespace vem {

PosExtendedDialog::PosExtendedDialog(QWidget* parent) : FormDialog(parent) {
    for (QLineEdit* e : {ui_->startEdit, ui_->endEdit, ui_->keywordEdit}) e->setValidator(new Cp1252Validator(e));
    for (int i = 0; i < KeywordCount; ++i) {
        keywordButtons_[i] = findChild<QAbstractButton*>(QStringLiteral("keywordButton%1").arg(i + 1));
        connect(keywordButtons_[i], &QAbstractButton::clicked, this,
                [this, i] { emit keywordRequested(i, valueOf(ui_->keywordEdit), selectedAction()); });
    }
    for (int i = 0; i < KeywordActionCount; ++i)
        actionButtons_[i] = findChild<QRadioButton*>(QStringLiteral("actionButton%1").arg(i + 1));
}

void PosExtendedDialog::fill(const PosExtendedSettings& settings) {
    settings_ = settings;
    const PosExtendedEntry e = posExtendedEntry(settings);
    ui_->limitTo40Box->setChecked(e.limitTo40);
    showValue(ui_->startEdit, e.startDefinition);
    ui_->showHeaderBox->setChecked(e.showHeader);
    showValue(ui_->endEdit, e.endDefinition);
    showValue(ui_->maxSpacesEdit, e.maxSpaces);
    (e.skipMode ? ui_->skipModeButton : ui_->maxModeButton)->setChecked(true);
    keywordButtons_[0]->setChecked(true);
    showKeyword(0);
}

PosExtendedValues PosExtendedDialog::values() const {
    PosExtendedValues v;
    v.entry.limitTo40 = ui_->limitTo40Box->isChecked();
    v.entry.startDefinition = valueOf(ui_->startEdit);
    v.entry.showHeader = ui_->showHeaderBox->isChecked();
    v.entry.endDefinition = valueOf(ui_->endEdit);
    v.entry.maxSpaces = valueOf(ui_->maxSpacesEdit);
    v.entry.skipMode = !ui_->maxModeButton->isChecked();
    v.keyword = keywordDown();
    v.keywordText = valueOf(ui_->keywordEdit);
    v.keywordAction = selectedAction();
    return v;
}

void PosExtendedDialog::showKeywords(const PosExtendedSettings& settings, int current) {
    settings_.Keyword = settings.Keyword;
    settings_.KeywordAction = settings.KeywordAction;
    showKeyword(current);
}

void PosExtendedDialog::showKeyword(int n) {
    currentKeyword_ = n;
    showValue(ui_->keywordEdit, settings_.Keyword[n]);
    selectAction(keywordActionPosition(settings_, n));
}

int PosExtendedDialog::selectedAction() const {
    for (int i = 0; i < KeywordActionCount; ++i)
        if (actionButtons_[i]->isChecked()) return i;
    return -1;
}

void PosExtendedDialog::selectAction(int position) {
    for (QRadioButton* b : actionButtons_) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    if (position >= 0 && position < KeywordActionCount) actionButtons_[position]->setChecked(true);
}

int PosExtendedDialog::keywordDown() const {
    for (int i = 0; i < KeywordCount; ++i)
        if (keywordButtons_[i]->isChecked()) return i;
    return currentKeyword_;
}

}  // namespace vem
