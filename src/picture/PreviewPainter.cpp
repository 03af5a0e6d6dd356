#include "picture/PreviewPainter.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>

#include "host/Encoding.h"

namespace vem {
namespace {

QColor colourOf(DeviceColour colour) {
    const Rgb rgb = rgbOf(colour);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

const QColor ProblemColour(255, 0, 255);

QFont cellFont(QSize cell) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(std::max(6, std::min(cell.height() * 3 / 4, cell.width() * 3 / 2)));
    font.setBold(true);
    return font;
}

}  // namespace

QImage PreviewPainter::testPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(70, 78, 88));
    gradient.setColorAt(1, QColor(150, 150, 140));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QRect PreviewPainter::cellRect(QSize frame, int row, int column) {
    const int gridWidth = frame.width() * 640 / 720, gridHeight = frame.height() * 512 / 576;
    const int left = (frame.width() - gridWidth) / 2, top = (frame.height() - gridHeight) / 2;
    const int x0 = left + column * gridWidth / ScreenColumns, x1 = left + (column + 1) * gridWidth / ScreenColumns;
    const int y0 = top + row * gridHeight / ScreenRows, y1 = top + (row + 1) * gridHeight / ScreenRows;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

QImage PreviewPainter::paint(const PreviewPicture& picture, const QImage& frame, const QString& caption) {
    QImage image = frame.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    const QColor box(0, 0, 0, picture.fillOpacity);
    for (int k = 0; k < CellCount; ++k)
        if (picture.cells[k].filled) painter.fillRect(cellRect(image.size(), rowOf(k), columnOf(k)), box);

    const QFont font = cellFont(cellRect(image.size(), 0, 0).size());
    painter.setFont(font);
    for (int k = 0; k < CellCount; ++k) {
        const PreviewCell& cell = picture.cells[k];
        if (cell.character == ' ') continue;
        const QRect rect = cellRect(image.size(), rowOf(k), columnOf(k));
        const QString text = fromCp1252(std::string(1, cell.character));
        const QColor colour = colourOf(cell.colour);
        painter.setPen(colour.lightness() > 100 ? Qt::black : Qt::white);
        painter.drawText(rect.translated(1, 1), Qt::AlignCenter, text);
        painter.setPen(colour);
        painter.drawText(rect, Qt::AlignCenter, text);
    }
    painter.setPen(QPen(ProblemColour, 2));
    for (int k = 0; k < CellCount; ++k)
        if (picture.cells[k].problem) painter.drawRect(cellRect(image.size(), rowOf(k), columnOf(k)).adjusted(1, 1, -1, -1));

    if (!caption.isEmpty()) {
        QFont small = font;
        small.setPixelSize(std::max(6, (image.height() - cellRect(image.size(), ScreenRows - 1, 0).bottom()) / 2));
        painter.setFont(small);
        painter.setPen(QColor(255, 255, 255, 200));
        const QRect margin(0, cellRect(image.size(), ScreenRows - 1, 0).bottom() + 1, image.width() - 4,
                           image.height() - cellRect(image.size(), ScreenRows - 1, 0).bottom() - 1);
        painter.drawText(margin, Qt::AlignRight | Qt::AlignVCenter, caption);
    }
    return image;
}

}  // namespace vem
