#include "ui/common/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vem {

void centreOnScreen(QWidget* window, QScreen* screen) {
    if (!screen) screen = window->parentWidget() ? window->parentWidget()->screen() : window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // The frame is known once the window has been shown; before that its inner size stands in.
    const QSize outer = window->frameGeometry().size();
    window->move(screen->availableGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
}

}  // namespace vem
