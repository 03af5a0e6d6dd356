#include "ui/settings/PosExtendedDialog.h"

#include "session/Session.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_PosExtendedDialog.h"

namespace vem {

PosExtendedDialog::PosExtendedDialog(Session& session, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PosExtendedDialog>()), session_(session) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    for (QLineEdit* e : {ui_->startEdit, ui_->endEdit, ui_->keywordEdit}) e->setValidator(new Cp1252Validator(e));

    for (int i = 0; i < KeywordCount; ++i) {
        keywordButtons_[i] = findChild<QAbstractButton*>(QStringLiteral("keywordButton%1").arg(i + 1));
        connect(keywordButtons_[i], &QAbstractButton::clicked, this, [this, i] { selectKeyword(i); });
    }
    for (int i = 0; i < KeywordActionCount; ++i)
        actionButtons_[i] = findChild<QRadioButton*>(QStringLiteral("actionButton%1").arg(i + 1));

    connect(ui_->cancelButton, &QPushButton::clicked, this, &PosExtendedDialog::SpeedButton1Click);
    connect(ui_->acceptButton, &QPushButton::clicked, this, &PosExtendedDialog::SpeedButton2Click);
}

PosExtendedDialog::~PosExtendedDialog() = default;

void PosExtendedDialog::fill() {
    const PosExtendedEntry e = posExtendedEntry(session_.project().posExtended);
    ui_->limitTo40Box->setChecked(e.limitTo40);
    showInEdit(ui_->startEdit, e.startDefinition);
    ui_->showHeaderBox->setChecked(e.showHeader);
    showInEdit(ui_->endEdit, e.endDefinition);
    showInEdit(ui_->maxSpacesEdit, e.maxSpaces);
    (e.skipMode ? ui_->skipModeButton : ui_->maxModeButton)->setChecked(true);
    keywordButtons_[0]->setChecked(true);
    showKeyword(0);
}

PosExtendedEntry PosExtendedDialog::values() const {
    PosExtendedEntry e;
    e.limitTo40 = ui_->limitTo40Box->isChecked();
    e.startDefinition = editText(ui_->startEdit);
    e.showHeader = ui_->showHeaderBox->isChecked();
    e.endDefinition = editText(ui_->endEdit);
    e.maxSpaces = editText(ui_->maxSpacesEdit);
    e.skipMode = !ui_->maxModeButton->isChecked();
    return e;
}

void PosExtendedDialog::selectKeyword(int n) {
    if (session_.switchKeyword(currentKeyword_, n, editText(ui_->keywordEdit), selectedAction()).ok) showKeyword(n);
}

void PosExtendedDialog::SpeedButton1Click() { reject(); }

void PosExtendedDialog::SpeedButton2Click() {
    session_.acceptPosExtended(values(), keywordDown(), editText(ui_->keywordEdit), selectedAction());
    currentKeyword_ = 0;
    accept();
}

void PosExtendedDialog::showKeyword(int n) {
    currentKeyword_ = n;
    const PosExtendedSettings& settings = session_.project().posExtended;
    showInEdit(ui_->keywordEdit, settings.Keyword[n]);
    selectAction(keywordActionPosition(settings, n));
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
