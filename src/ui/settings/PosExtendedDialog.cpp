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
    for (QLineEdit* e : {ui_->Edit1, ui_->Edit2, ui_->Edit4}) e->setValidator(new Cp1252Validator(e));

    for (int i = 0; i < KeywordCount; ++i) {
        keywordButtons_[i] = findChild<QAbstractButton*>(QStringLiteral("AKTION%1").arg(i + 1));
        connect(keywordButtons_[i], &QAbstractButton::clicked, this, [this, i] { AKTIONClick(i); });
    }
    for (int i = 0; i < KeywordActionCount; ++i)
        actionButtons_[i] = findChild<QRadioButton*>(QStringLiteral("AKT%1").arg(i + 1));

    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &PosExtendedDialog::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &PosExtendedDialog::SpeedButton2Click);
}

PosExtendedDialog::~PosExtendedDialog() = default;

void PosExtendedDialog::fill() {
    const PosExtendedEntry e = posExtendedEntry(session_.project().posExtended);
    ui_->CheckBox1->setChecked(e.limitTo40);
    showInEdit(ui_->Edit1, e.startDefinition);
    ui_->CheckBox2->setChecked(e.showHeader);
    showInEdit(ui_->Edit2, e.endDefinition);
    showInEdit(ui_->Edit3, e.maxSpaces);
    (e.skipMode ? ui_->FlatRadioButton2 : ui_->FlatRadioButton1)->setChecked(true);
    keywordButtons_[0]->setChecked(true);
    showKeyword(0);
}

PosExtendedEntry PosExtendedDialog::values() const {
    PosExtendedEntry e;
    e.limitTo40 = ui_->CheckBox1->isChecked();
    e.startDefinition = editText(ui_->Edit1);
    e.showHeader = ui_->CheckBox2->isChecked();
    e.endDefinition = editText(ui_->Edit2);
    e.maxSpaces = editText(ui_->Edit3);
    e.skipMode = !ui_->FlatRadioButton1->isChecked();
    return e;
}

void PosExtendedDialog::AKTIONClick(int n) {
    if (session_.switchKeyword(currentKeyword_, n, editText(ui_->Edit4), selectedAction()).ok) showKeyword(n);
}

void PosExtendedDialog::SpeedButton1Click() { reject(); }

void PosExtendedDialog::SpeedButton2Click() {
    session_.acceptPosExtended(values(), keywordDown(), editText(ui_->Edit4), selectedAction());
    currentKeyword_ = 0;
    accept();
}

void PosExtendedDialog::showKeyword(int n) {
    currentKeyword_ = n;
    const PosExtendedSettings& settings = session_.project().posExtended;
    showInEdit(ui_->Edit4, settings.Keyword[n]);
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
