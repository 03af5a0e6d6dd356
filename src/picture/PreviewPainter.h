#pragma once
#include <QImage>
#include <QRect>
#include <QString>

#include "preview/PreviewPicture.h"

namespace vem {

// The preview's picture as the video shows it, painted for the window and for vemctl alike.
class PreviewPainter {
public:
    static constexpr QSize DefaultFrame{720, 576};

    // A neutral 4:3 test picture: a soft grey gradient with the frame's outline.
    static QImage testPicture(QSize size = DefaultFrame);

    // Where the device's cell lies in a frame of `frame`: the 40 × 16 cells cover 640/720 of
    // the width and 512/576 of the height, centred (16 × 32 pixels each at 720 × 576).
    static QRect cellRect(QSize frame, int row, int column);

    // `frame` with the picture over it: the boxes of filled cells (black, as opaque as the
    // transparency says), each character in its colour with a dark shadow in a fixed-pitch
    // system font, a magenta frame around a cell with a problem, and `caption` small in the
    // bottom right corner outside the cells.
    static QImage paint(const PreviewPicture& picture, const QImage& frame, const QString& caption);
};

}  // namespace vem
