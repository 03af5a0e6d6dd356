#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace vem {

// Reads at most `limit` bytes of a file; nothing when it cannot be opened or is a folder.
// A relative path is taken from the current working folder.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit);

// Writes `bytes` to a temporary file beside `target`, flushes it to disk and renames it over
// `target`, so an existing file is either replaced whole or left as it was. A link is followed
// and the file it points to replaced; an existing file keeps its permissions (and, where
// allowed, its owner). False when anything failed; the temporary file is then removed.
bool writeFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

}  // namespace vem
