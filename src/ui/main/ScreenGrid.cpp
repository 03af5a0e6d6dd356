#include "ui/main/ScreenGrid.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <vector>

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
    // Each cell gets a lowered bevel: dark at top and left, light at bottom and right. The cells
    // do not overlap, so the lines of all cells are drawn at once, after the fills.
    std::vector<QLine> shadowLines, lightLines;
    shadowLines.reserve(2 * CellCount);
    lightLines.reserve(2 * CellCount);
    for (int k = 0; k < CellCount; ++k) {
        const QRect r(cellOrigin(k), QSize(Editor::PanelWidth, Editor::PanelHeight));
        p.fillRect(r, colourOf(editor_.cells()[k].colour));
        shadowLines.insert(shadowLines.end(), {{r.topLeft(), r.topRight()}, {r.topLeft(), r.bottomLeft()}});
        lightLines.insert(lightLines.end(), {{r.bottomLeft(), r.bottomRight()}, {r.topRight(), r.bottomRight()}});
    }
    p.setPen(QColor(160, 160, 160));
    p.drawLines(shadowLines.data(), static_cast<int>(shadowLines.size()));
    p.setPen(Qt::white);
    p.drawLines(lightLines.data(), static_cast<int>(lightLines.size()));
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
