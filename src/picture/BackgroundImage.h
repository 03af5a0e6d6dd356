#pragma once
#include <QImage>
#include <QString>
#include <cstddef>

#include "i18n/MessageTable.h"

namespace vem {

// A photo to show the preview over: the image, scaled to fill a 4:3 frame of 720 × 576 pixels
// (cropped at its middle), or why it cannot serve.
struct BackgroundImage {
    QImage frame;
    SlotMessage problem;  // slot -1 when `frame` holds the picture
};

// Files above this many bytes, and images above this many pixels, are refused before they are
// decoded.
constexpr std::size_t BackgroundFileLimit = 64 * 1024 * 1024;
constexpr qint64 BackgroundPixelLimit = 40'000'000;

// Reads the image at `path` (any format Qt reads); one that is no image, cannot be read, or is
// larger than BackgroundPixelLimit is refused with the reason.
BackgroundImage loadBackground(const QString& path);

}  // namespace vem
