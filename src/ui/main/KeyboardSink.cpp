#include "ui/main/KeyboardSink.h"

#include <QKeyEvent>

namespace vem {

KeyboardSink::KeyboardSink(QWidget* parent) : QLineEdit(parent) {
    setObjectName("KeyboardSink");
    setGeometry(0, 0, 1, 1);
    setFrame(false);
}

void KeyboardSink::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event);
    event->accept();
}

bool KeyboardSink::event(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return QLineEdit::event(event);
    event->ignore();
    return true;
}

}  // namespace vem
