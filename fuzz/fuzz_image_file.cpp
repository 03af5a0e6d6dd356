// libFuzzer target: image files and read-back images. The input is taken as an image file
// (only 16512 bytes are accepted), then as the three areas of a read-back, applied and built
// again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "editor/Editor.h"
#include "files/ImageBuild.h"
#include "files/ImageFile.h"
#include "files/ReadBack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vem::Project project;
    vem::DeviceImage image;
    vem::MessageTable messages;
    vem::Editor editor(project, image, messages);

    const vem::FileOutcome loaded = vem::loadImageBytes(editor, std::span(data, size));
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
        vem::applyDeviceImage(editor);
        vem::buildDeviceImage(editor, vem::LocalTime{31, 12, 2099, 23, 59});
        vem::applyDeviceImage(editor);
    }
    return 0;
}
