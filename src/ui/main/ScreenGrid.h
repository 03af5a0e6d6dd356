#pragma once
#include <QWidget>

#include "editor/Editor.h"

namespace vem {

// The 640 cells of the screen, painted from the editor; mouse events are handed on as signals.
class ScreenGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int OriginX = 8;
    static constexpr int OriginY = 16;

    ScreenGrid(const Editor& editor, const std::array<std::string, CellCount>& screenText, QWidget* parent);

    // Top-left corner of cell `cell` in grid coordinates.
    static QPoint cellOrigin(int cell);
    static int cellAt(QPoint pos);  // -1 outside every cell
    static QColor colourOf(CellColour colour);

signals:
    void pressed(int cell, MouseButton button);
    void moved(int x, int y);  // pointer relative to the pressed cell, while a button is held
    void released();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    bool event(QEvent*) override;

private:
    const Editor& editor_;
    const std::array<std::string, CellCount>& screenText_;
    int pressedCell_ = -1;
};

}  // namespace vem
