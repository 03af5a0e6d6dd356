#include "ui/common/ControlValues.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>
#include <vector>

#include "host/Encoding.h"
#include "settings/SettingsRules.h"

namespace vem {

namespace {

// Holds what is typed or pasted to the edit's designed length. A longer value shown whole may
// shrink but never grow again; the edit's own maximum length keeps it from growing past what
// was shown. Checks of a validator the edit had before are made first.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* edit, int limit, const QValidator* inner)
        : QValidator(edit), limit_(limit), ceiling_(limit), inner_(inner) {
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            ceiling_ = std::min(ceiling_, std::max(limit_, static_cast<int>(text.size())));
        });
    }

    int limit() const { return limit_; }
    // Allows a shown value of `length` characters.
    void allow(int length) { ceiling_ = std::max(limit_, length); }

    State validate(QString& input, int& pos) const override {
        const State state = inner_ ? inner_->validate(input, pos) : Acceptable;
        return state == Invalid || input.size() > ceiling_ ? Invalid : state;
    }
    void fixup(QString& input) const override {
        if (inner_) inner_->fixup(input);
    }

private:
    const int limit_;
    int ceiling_;
    QPointer<const QValidator> inner_;
};

// The edit's limit, installed on first use, or again around a validator set since.
TypingLimit* typingLimit(QLineEdit* edit) {
    TypingLimit* own = nullptr;
    for (QObject* c : edit->children())
        if (auto* t = dynamic_cast<TypingLimit*>(c)) own = t;
    if (own && edit->validator() == own) return own;
    auto* fresh = new TypingLimit(edit, own ? own->limit() : edit->maxLength(), edit->validator());
    delete own;
    edit->setValidator(fresh);
    return fresh;
}

}  // namespace

void showValue(QLineEdit* edit, const std::string& text) {
    TypingLimit* limit = typingLimit(edit);
    const QString shown = fromCp1252(text);
    const int length = std::max(limit->limit(), static_cast<int>(shown.size()));
    limit->allow(length);  // before the text changes, which the validator sees
    edit->setMaxLength(length);
    edit->setText(shown);
}

std::string valueOf(const QLineEdit* edit) { return toCp1252(edit->text()); }

void showValue(QComboBox* box, int position) {
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
    if (box->currentIndex() < 0 && box->isEditable()) box->setEditText(QString());
}

void showValue(QAbstractButton* button, bool checked) { button->setChecked(checked); }

int valueOf(const QComboBox* box) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(box->count()));
    for (int i = 0; i < box->count(); ++i) entries.push_back(toCp1252(box->itemText(i)));
    if (!box->isEditable()) return box->currentIndex();
    return matchListEntry(entries, toCp1252(box->currentText()));
}

bool valueOf(const QAbstractButton* button) { return button->isChecked(); }

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    for (QChar c : input)
        if (!cp1252Byte(c)) return Invalid;
    return Acceptable;
}

}  // namespace vem
