#include "sim/MemoryFiles.h"

#include <fstream>
#include <string>
#include <system_error>
#include <utility>

#include "device/Protocol.h"
#include "files/FileIo.h"

namespace vem {

namespace {

// Nothing when the file is absent; false when it is there but unreadable or not `size` bytes.
bool readExact(const std::filesystem::path& path, std::size_t size, std::vector<std::uint8_t>& out,
               bool& present) {
    std::error_code ec;
    present = std::filesystem::exists(path, ec);
    if (!present) return true;
    auto bytes = readFileBytes(path, size + 1);
    if (!bytes || bytes->size() != size) return false;
    out = std::move(*bytes);
    return true;
}

template <std::size_t N>
bool loadArray(const std::filesystem::path& path, std::array<std::uint8_t, N>& area) {
    std::vector<std::uint8_t> bytes;
    bool present = false;
    if (!readExact(path, N, bytes, present)) return false;
    if (present) std::copy(bytes.begin(), bytes.end(), area.begin());
    return true;
}

bool loadVector(const std::filesystem::path& path, std::size_t size, std::vector<std::uint8_t>& area) {
    std::vector<std::uint8_t> bytes;
    bool present = false;
    if (!readExact(path, size, bytes, present)) return false;
    if (present) area = std::move(bytes);
    return true;
}

}  // namespace

bool loadMemory(DeviceMemory& m, const std::filesystem::path& folder) {
    bool ok = loadArray(folder / "main.bin", m.mainArea);
    ok = loadArray(folder / "header.bin", m.headerArea) && ok;
    ok = loadArray(folder / "screen.bin", m.screenArea) && ok;
    ok = loadArray(folder / "clock.bin", m.clockBlock) && ok;
    ok = loadArray(folder / "video.bin", m.videoBlock) && ok;
    ok = loadVector(folder / "font.bin", FontSize, m.font) && ok;
    ok = loadVector(folder / "firmware.bin", FirmwareSize, m.firmware) && ok;
    std::error_code ec;
    if (std::filesystem::exists(folder / "fuses.txt", ec)) {
        std::ifstream in(folder / "fuses.txt");
        int count = 0;
        if (in >> count && count >= 0)
            m.fuseCommands = count;
        else
            ok = false;
    }
    return ok;
}

bool saveMemory(const DeviceMemory& m, const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    bool ok = writeFileReplacing(folder / "main.bin", m.mainArea).ok();
    ok = writeFileReplacing(folder / "header.bin", m.headerArea).ok() && ok;
    ok = writeFileReplacing(folder / "screen.bin", m.screenArea).ok() && ok;
    ok = writeFileReplacing(folder / "clock.bin", m.clockBlock).ok() && ok;
    ok = writeFileReplacing(folder / "video.bin", m.videoBlock).ok() && ok;
    if (!m.font.empty()) ok = writeFileReplacing(folder / "font.bin", m.font).ok() && ok;
    if (!m.firmware.empty()) ok = writeFileReplacing(folder / "firmware.bin", m.firmware).ok() && ok;
    const std::string fuses = std::to_string(m.fuseCommands) + "\n";
    const std::span fuseText(reinterpret_cast<const std::uint8_t*>(fuses.data()), fuses.size());
    ok = writeFileReplacing(folder / "fuses.txt", fuseText).ok() && ok;
    return ok;
}

}  // namespace vem
