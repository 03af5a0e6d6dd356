#include "picture/PngFile.h"

#include <QBuffer>

namespace vem {

FileWrite writePng(const QImage& image, const std::filesystem::path& path, bool replaceReadOnly) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(png.constData());
    return writeFileReplacing(path, {bytes, static_cast<std::size_t>(png.size())},
                              {replaceReadOnly});
}

}  // namespace vem
