#include "ui/main/ScreenGrid.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <utility>

#include "ui/common/PlainText.h"
#include "host/Encoding.h"

namespace vem {

ScreenGrid::ScreenGrid(const Editor& editor, const std::array<std::string, CellCount>& screenText,
                       QWidget* parent)
    : QWidget(parent), editor_(editor), screenText_(screenText) {
    setObjectName("ScreenGrid");
    setFixedSize(OriginX * 2 + ScreenColumns * Editor::PanelWidth, OriginY + ScreenRows * Editor::PanelHeight + 12);
    QFont f("DejaVu Sans Mono");
    f.setPixelSize(15);
    f.setBold(true);
    setFont(f);
}

QPoint ScreenGrid::cellOrigin(int cell) {
    return {OriginX + columnOf(cell) * Editor::PanelWidth, OriginY + rowOf(cell) * Editor::PanelHeight};
}

int ScreenGrid::cellAt(QPoint pos) {
    const int x = pos.x() - OriginX;
    const int y = pos.y() - OriginY;
    if (x < 0 || y < 0) return -1;
    const int column = x / Editor::PanelWidth;
    const int row = y / Editor::PanelHeight;
    if (column >= ScreenColumns || row >= ScreenRows) return -1;
    return cellIndex(row, column);
}

QColor ScreenGrid::colourOf(CellColour colour) {
    switch (colour) {
    case CellColour::White: return Qt::white;
    case CellColour::Field: return QColor(255, 255, 225);
    case CellColour::AutoPlaced: return QColor(255, 0, 0);
    case CellColour::Dragged: return QColor(0, 255, 0);
    case CellColour::ButtonFace: break;
    }
    return QColor(240, 240, 240);
}

void ScreenGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    constexpr int W = Editor::PanelWidth, H = Editor::PanelHeight;
    // Each row's cells of one colour in a run are filled at once.
    for (int row = 0; row < ScreenRows; ++row) {
        for (int column = 0, run = 0; column <= ScreenColumns; ++column) {
            const auto colourAt = [&](int c) { return editor_.cells()[row * ScreenColumns + c].colour; };
            if (column < ScreenColumns && colourAt(column) == colourAt(run)) continue;
            p.fillRect(QRect(OriginX + run * W, OriginY + row * H, (column - run) * W, H), colourOf(colourAt(run)));
            run = column;
        }
    }
    // Each cell gets a lowered bevel: dark at top and left, light at bottom and right. The cells
    // touch, so one line draws an edge of a whole row or column; the light lines come last. A
    // line one pixel wide is filled, which costs far less than drawing it with a pen.
    constexpr int Width = ScreenColumns * W, Height = ScreenRows * H;
    for (const auto& [colour, offset] : {std::pair{QColor(160, 160, 160), 0}, std::pair{QColor(Qt::white), 1}}) {
        for (int row = 0; row < ScreenRows; ++row)
            p.fillRect(QRect(OriginX, OriginY + row * H + offset * (H - 1), Width, 1), colour);
        for (int column = 0; column < ScreenColumns; ++column)
            p.fillRect(QRect(OriginX + column * W + offset * (W - 1), OriginY, 1, Height), colour);
    }
    p.setPen(Qt::black);
    for (int k = 0; k < CellCount; ++k) {
        const std::string& text = screenText_[k];
        if (text.empty()) continue;
        const QRect r(cellOrigin(k), QSize(Editor::PanelWidth, Editor::PanelHeight));
        p.drawText(r, Qt::AlignCenter, text == "&&" ? QStringLiteral("&") : fromCp1252(text.substr(0, 1)));
    }
}

void ScreenGrid::mousePressEvent(QMouseEvent* e) {
    const int cell = cellAt(e->position().toPoint());
    if (cell < 0) return;
    pressedCell_ = cell;
    const MouseButton button = e->button() == Qt::LeftButton    ? MouseButton::Left
                               : e->button() == Qt::RightButton ? MouseButton::Right
                                                                : MouseButton::Middle;
    emit pressed(cell, button);
}

void ScreenGrid::mouseMoveEvent(QMouseEvent* e) {
    if (pressedCell_ < 0 || e->buttons() == Qt::NoButton) return;
    const QPoint rel = e->position().toPoint() - cellOrigin(pressedCell_);
    emit moved(rel.x(), rel.y());
}

void ScreenGrid::mouseReleaseEvent(QMouseEvent*) {
    if (pressedCell_ < 0) return;
    pressedCell_ = -1;
    emit released();
}

bool ScreenGrid::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int cell = cellAt(help->pos());
        const QString hint = cell < 0 ? QString() : fromCp1252(editor_.cells()[cell].hint);
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), plainToolTip(hint), this);
        return true;
    }
    return QWidget::event(e);
}

}  // namespace vem
