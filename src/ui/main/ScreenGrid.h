#pragma once
#include <QWidget>

#include "editor/Editor.h"

namespace vem {

// The 640 cells of the screen, painted from the editor; mouse events go to the editor.
class ScreenGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int OriginX = 8;
    static constexpr int OriginY = 16;

    ScreenGrid(Editor& editor, QWidget* parent);

    // Top-left corner of cell `cell` in grid coordinates.
    static QPoint cellOrigin(int cell);
    static int cellAt(QPoint pos);  // -1 outside every cell
    static QColor colourOf(CellColour colour);

signals:
    void pressed();   // a cell was pressed: the window gives the keyboard to its sink
    void changed();   // the editor state changed through the mouse

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    bool event(QEvent*) override;

private:
    Editor& editor_;
    int pressedCell_ = -1;
};

}  // namespace vem
