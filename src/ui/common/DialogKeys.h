#pragma once

class QDialog;
class QPushButton;
class QWidget;

namespace vem {

// The keys every dialog of the program answers. Enter presses `defaultButton`, or the button
// that has the focus; Escape cancels. Each time the dialog is shown, the focus starts on its
// first field, so that what is typed goes into a field and never presses a button.
void useDialogKeys(QDialog* dialog, QPushButton* defaultButton);

// The first control in `dialog`'s tab order that takes input: enabled, shown, reached by Tab,
// no push button and no read-only edit. Nullptr when there is none.
QWidget* firstField(QWidget* dialog);

}  // namespace vem
