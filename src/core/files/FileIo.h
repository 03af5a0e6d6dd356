#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vem {

// Why a file was not read.
enum class FileFault { None, Missing, Folder, Fifo, NotRegular, TooLarge, Unreadable };

// A file read only when it is a regular file (a link is followed): a FIFO, a device or a socket
// is recognised without waiting on it, and never read.
struct FileRead {
    FileFault fault = FileFault::None;
    std::vector<std::uint8_t> bytes;  // the file's bytes, at most the limit asked for
    std::uintmax_t size = 0;          // how many bytes the file holds (a regular file's)
    bool ok() const { return fault == FileFault::None; }
};

// The whole file when it is a regular file of at most `limit` bytes; fault TooLarge (with its
// size) when it holds more. A relative path is taken from the current working folder.
FileRead readRegularFile(const std::filesystem::path& path, std::size_t limit);

// What a fault says about the file, e.g. "is a FIFO", "is larger than 1048576 bytes" (`limit`).
std::string fileFaultText(FileFault fault, std::size_t limit);

// The first `limit` bytes of a regular file (fewer when it is shorter); nothing when it is not
// a regular file or cannot be read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit);

// Writes `bytes` to a temporary file beside `target`, flushes it to disk and renames it over
// `target`, so an existing file is either replaced whole or left as it was. A link is followed
// and the file it points to replaced; an existing file keeps its permissions (and, where
// allowed, its owner). False when anything failed; the temporary file is then removed.
bool writeFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

}  // namespace vem
