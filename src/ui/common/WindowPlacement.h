#pragma once

class QScreen;
class QWidget;

namespace vem {

// Moves a window to the middle of `screen`; without one, of the screen its parent (or the
// window itself) is on.
void centreOnScreen(QWidget* window, QScreen* screen = nullptr);

}  // namespace vem
