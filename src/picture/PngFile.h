#pragma once
#include <QImage>
#include <filesystem>

#include "files/FileIo.h"

namespace vem {

// Writes `image` as PNG to `path` as every file of VEM is written: beside it first, then
// renamed over it; a read-only file is replaced only with `replaceReadOnly`.
FileWrite writePng(const QImage& image, const std::filesystem::path& path, bool replaceReadOnly = false);

}  // namespace vem
