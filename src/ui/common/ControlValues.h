#pragma once
#include <QValidator>
#include <string>

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace vem {

// A control and the value it stands for in a dialog: an edit and its text, a list and the
// position of its entry, a check box or radio button and its tick.
//
// An edit shows a stored value whole, even one longer than its typing limit (it can come from
// a project file or a read-back), so that accepting the dialog unchanged never alters it.
// Typing and pasting still stop at the limit; such a value can only be kept or shortened. A
// validator the edit already has stays in force.
void showValue(QLineEdit* edit, const std::string& text);
// Position -1 selects nothing and empties a typed text.
void showValue(QComboBox* box, int position);
void showValue(QAbstractButton* button, bool checked);

std::string valueOf(const QLineEdit* edit);
// The entry an editable list names by its text, -1 when the typed text names none.
int valueOf(const QComboBox* box);
bool valueOf(const QAbstractButton* button);

// Refuses typed or pasted characters that the device's code page cannot hold.
class Cp1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace vem
