// libFuzzer target: image files and read-back images. The input is taken as an image file
// (only 16512 bytes are accepted), then as the three areas of a read-back, applied and built
// again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "files/ImageBuild.h"
#include "files/ImageFile.h"
#include "files/ReadBack.h"
#include "model/DeviceImage.h"
#include "model/Project.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vem::Project project;
    vem::DeviceImage image;

    const vem::FileResult loaded = vem::loadImageBytes(project, image, std::span(data, size));
    if (loaded.ok != (size == vem::ImageFileSize)) __builtin_trap();
    if (!loaded.ok && image.imageTemplateLoaded) __builtin_trap();

    // The same bytes, repeated as needed, as a complete read-back.
    if (size > 0) {
        std::size_t at = 0;
        auto fill = [&](auto& area) {
            for (auto& b : area) b = data[at++ % size];
        };
        fill(image.mainArea);
        fill(image.headerArea);
        fill(image.screenArea);
        vem::applyDeviceImage(project, image);
        vem::buildDeviceImage(project, image, vem::LocalTime{31, 12, 2099, 23, 59});
        vem::applyDeviceImage(project, image);
    }
    return 0;
}
