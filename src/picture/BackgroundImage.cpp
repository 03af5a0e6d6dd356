#include "picture/BackgroundImage.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "files/FileIo.h"

#include "host/Encoding.h"
#include "picture/PreviewPainter.h"

namespace vem {

BackgroundImage loadBackground(const QString& path) {
    const std::string name = toCp1252(path);
    const FileRead read = readRegularFile(QFile::encodeName(path).toStdString(), BackgroundFileLimit);
    if (!read.ok()) return {{}, fileFaultMessage(read.fault, name, BackgroundFileLimit)};
    QByteArray bytes(reinterpret_cast<const char*>(read.bytes.data()), static_cast<qsizetype>(read.bytes.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(static_cast<int>(BackgroundPixelLimit * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > BackgroundPixelLimit)
        return {{}, {Msg::BackgroundTooLarge, {name, std::to_string(size.width()), std::to_string(size.height()),
                                               std::to_string(BackgroundPixelLimit / 1'000'000)}}};
    QImage image = reader.read();
    if (image.isNull()) return {{}, {Msg::BackgroundNotImage, {name}}};
    const QSize frame = PreviewPainter::DefaultFrame;
    image = image.scaled(frame, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QRect middle((image.width() - frame.width()) / 2, (image.height() - frame.height()) / 2, frame.width(),
                       frame.height());
    return {image.copy(middle).convertToFormat(QImage::Format_RGB32), {}};
}

}  // namespace vem
