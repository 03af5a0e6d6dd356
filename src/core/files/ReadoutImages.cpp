#include "files/ReadoutImages.h"

#include <algorithm>

#include "files/FileIo.h"
#include "files/ProjectFile.h"

namespace vem {

namespace fs = std::filesystem;

namespace {
// The longest suffix an image name gets: "-readout-9999.bin".
constexpr std::size_t LongestSuffix = 17;
// The longest file name most file systems take, in bytes.
constexpr std::size_t NameLimit = 255;
// The first line of a project is read from at most this many bytes.
constexpr std::size_t FirstLineLimit = 4096;

bool isReadoutImageOf(const std::string& stem, const std::string& name) {
    const std::string prefix = stem + "-readout";
    if (!name.starts_with(prefix) || !name.ends_with(".bin")) return false;
    const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    if (number.empty()) return true;
    return number.size() > 1 && number[0] == '-' && number.find_first_not_of("0123456789", 1) == std::string::npos;
}

}  // namespace

std::string readoutStem(const std::string& projectStem) {
    std::string stem = projectStem;
    std::replace_if(
        stem.begin(), stem.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '_');
    if (stem.size() > NameLimit - LongestSuffix) {
        stem.resize(NameLimit - LongestSuffix);
        // Not inside a UTF-8 sequence: drop continuation bytes and the lead byte before them.
        while (!stem.empty() && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80) stem.pop_back();
        if (!stem.empty() && static_cast<unsigned char>(stem.back()) >= 0xC0) stem.pop_back();
    }
    return stem;
}

fs::path readoutImageName(const std::string& stem, int n) {
    return stem + "-readout" + (n > 1 ? "-" + std::to_string(n) : std::string()) + ".bin";
}

std::vector<fs::path> filesNamedIn(const fs::path& folder) {
    std::vector<fs::path> named;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, ec)) {
        if (!entry.is_regular_file(ec) || entry.file_size(ec) > ProjectFileLimit) continue;
        const auto bytes = readFileBytes(entry.path(), FirstLineLimit);
        if (!bytes) continue;
        const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
        const auto lines = splitProjectLines(text);
        if (!lines.empty() && !lines[0].empty()) named.push_back(folder / std::string(lines[0]));
    }
    return named;
}

void removeUnnamedReadouts(const fs::path& folder, const std::string& stem) {
    const std::vector<fs::path> named = filesNamedIn(folder);
    std::vector<fs::path> unnamed;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, ec)) {
        const fs::path& image = entry.path();
        if (!isReadoutImageOf(stem, image.filename().string()) || entry.is_symlink(ec) || !entry.is_regular_file(ec))
            continue;
        if (std::none_of(named.begin(), named.end(), [&](const fs::path& n) { return sameFile(n, image); }))
            unnamed.push_back(image);
    }
    for (const fs::path& image : unnamed) fs::remove(image, ec);
}

}  // namespace vem
