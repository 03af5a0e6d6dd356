#include "files/FileIo.h"

#include <array>
#include <fstream>
#include <random>
#include <string>

namespace vem {

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit) {
    std::error_code ec;
    if (path.empty() || std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::array<char, 8192> chunk{};
    while (bytes.size() < limit && in) {
        const std::size_t want = std::min(chunk.size(), limit - bytes.size());
        in.read(chunk.data(), static_cast<std::streamsize>(want));
        const auto got = static_cast<std::size_t>(in.gcount());
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
        if (got < want) break;
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    namespace fs = std::filesystem;
    if (target.empty() || !target.has_filename()) return false;
    std::random_device random;
    const auto tag = std::to_string(random() % 1000000);
    const fs::path temp = target.parent_path() / ("." + target.filename().string() + "." + tag + ".tmp");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return false;
        }
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

}  // namespace vem
