#include "ui/common/DialogKeys.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace vem {

namespace {

// Puts the focus on the dialog's first field whenever the dialog is shown. An editable list's
// text that is selected, as it is when the focus arrives, is taken for an offered completion:
// the list would keep the first Enter for itself; it deselects first, so Enter reaches the dialog.
class DialogKeysFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (QWidget* field = firstField(static_cast<QWidget*>(watched))) field->setFocus(Qt::TabFocusReason);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (auto* box = qobject_cast<QComboBox*>(watched); box && box->lineEdit() && (key == Qt::Key_Return || key == Qt::Key_Enter))
                box->lineEdit()->deselect();
        }
        return false;
    }
};

bool takesInput(const QWidget* w, const QWidget* dialog) {
    if (w->window() != dialog || !w->isEnabled() || !w->isVisibleTo(dialog) || !(w->focusPolicy() & Qt::TabFocus))
        return false;
    if (qobject_cast<const QPushButton*>(w)) return false;
    const auto* edit = qobject_cast<const QLineEdit*>(w);
    return !edit || !edit->isReadOnly();
}

}  // namespace

void useDialogKeys(QDialog* dialog, QPushButton* defaultButton) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) button->setAutoDefault(true);
    if (defaultButton) defaultButton->setDefault(true);
    auto* filter = new DialogKeysFilter(dialog);
    dialog->installEventFilter(filter);
    for (QComboBox* box : dialog->findChildren<QComboBox*>()) box->installEventFilter(filter);
}

QWidget* firstField(QWidget* dialog) {
    for (QWidget* w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain())
        if (takesInput(w, dialog)) return w;
    return nullptr;
}

}  // namespace vem
