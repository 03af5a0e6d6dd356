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

}  // namespace vem
