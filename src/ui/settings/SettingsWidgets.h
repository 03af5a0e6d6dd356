#pragma once
#include <QValidator>
#include <string>

#include "ui/common/WindowPlacement.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace vem {

// Shows a stored value in an edit. A value longer than the edit's typing limit (it can come
// from a project file or a read-back) is shown whole rather than cut, so that accepting the
// dialog unchanged never alters it. Typing and pasting still stop at the limit; such a value
// can only be kept or shortened. A validator the edit already has stays in force.
void showInEdit(QLineEdit* edit, const std::string& text);
std::string editText(const QLineEdit* edit);

// Selects list position `position`; -1 selects nothing and empties a typed text.
void selectEntry(QComboBox* box, int position);
// The entry an editable list names by its text, -1 when the typed text names none.
int typedEntry(const QComboBox* box);

// Refuses typed or pasted characters that the device's code page cannot hold.
class Cp1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace vem
