#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "i18n/MessageTable.h"

namespace vem {

// Why a file was not read.
enum class FileFault { None, Missing, Folder, Fifo, NotRegular, TooLarge, Unreadable, LinkLoop, NameTooLong };

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

// What a fault says about `file`, e.g. "FILE: is a FIFO", "FILE: is larger than 1048576 bytes"
// (`limit`); no message (slot -1) for FileFault::None.
SlotMessage fileFaultMessage(FileFault fault, const std::string& file, std::size_t limit);

// The first `limit` bytes of a regular file (fewer when it is shorter); nothing when it is not
// a regular file or cannot be read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit);

// Why a file was not written: the system's error number (ENOSPC, EACCES, EISDIR, ...), or one
// of the refusals below, which the writer decides itself (NameNotFound: a project's line 1
// would not find the file it names).
struct FileWrite {
    enum Refusal { ReadOnlyTarget = -1, NotRegularTarget = -2, ForeignLink = -3, ProtectedTarget = -4, NameNotFound = -5 };
    int error = 0;        // an errno value, or a Refusal (negative)
    std::string file;     // the file that failed, links resolved where they could be
    bool ok() const { return error == 0; }
    explicit operator bool() const { return ok(); }
};

struct WriteOptions {
    bool replaceReadOnly = false;  // replace a target whose mode allows no one to write it
    // Files the write must never replace, by any name (a project's template, the images projects name).
    std::vector<std::filesystem::path> keep = {};
};

// Writes `bytes` to a temporary file beside `target`, flushes it to disk and renames it over
// `target`, so an existing file is either replaced whole or left as it was. A link is followed
// and the file it points to replaced, where the system would let this user follow it (see
// followableLinkTarget); an existing target that is not a regular file (a folder, FIFO, device),
// one of the options' files to keep, or a read-only one unless the options allow it, is refused. An existing
// file keeps its mode, set-id bits included (and, where allowed, its owner). Temporary files
// that an interrupted write to the same target left behind (their writer has ended) are removed
// first. On failure the temporary file is removed.
FileWrite writeFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                             WriteOptions options = {});

// Whether writeFileReplacing would take `target`: the refusals and a missing folder, nothing
// written.
FileWrite checkReplaceable(const std::filesystem::path& target, WriteOptions options = {});

// A file to be written by writeFilesReplacing.
struct FileToWrite {
    std::filesystem::path target;
    std::span<const std::uint8_t> bytes;
};
// Several files replaced together: all are written to temporary files and flushed before the
// first is renamed, so any failure of a write, a flush or a refusal leaves every target as it
// was. Only a crash or a failed rename between the renames leaves some replaced.
FileWrite writeFilesReplacing(std::span<const FileToWrite> files, WriteOptions options = {});

// Writes `bytes` under the first free name that `nameFor`(n) gives for n = 1, 2, ... in
// `folder`: written and flushed under a temporary name, then linked to its name, so an existing
// file (or link) of that name is never touched and no one sees a part-written file. The result's
// `file` is the name taken.
FileWrite writeNewFile(const std::filesystem::path& folder,
                       const std::function<std::filesystem::path(int)>& nameFor,
                       std::span<const std::uint8_t> bytes, const std::filesystem::path& tempOwner);

// Both name one existing file (a link and its target, two hard links); false when either is missing.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// `path` from the root, without "." and ".." (empty when the working folder cannot be known).
std::string absoluteName(const std::filesystem::path& path);

// The file a write to `path` lands in: links followed (a relative one from the link's folder),
// a dangling link giving the path it names. Empty on a link loop.
std::filesystem::path resolveLinks(std::filesystem::path path);

// The folder a project's relative names are found from: the folder of the file that `projectFile`
// (links followed) is, where a save puts its images; absolute.
std::filesystem::path projectFolderOf(const std::filesystem::path& projectFile);

// `name` found from `folder`: an absolute name as it stands, a relative one below `folder` (below
// the working folder while `folder` is empty).
std::filesystem::path nameFrom(const std::filesystem::path& folder, const std::string& name);

// As resolveLinks, following a link only where the system protects no one from it: in a sticky
// folder that everyone may write to, only a link of this user or of the folder's owner (another's
// could redirect this user's write into a file of its choice). The refusal is ELOOP or
// FileWrite::ForeignLink, with the link that was not followed.
FileWrite followableLinkTarget(const std::filesystem::path& path, std::filesystem::path& file);

// Test seam: the `skip`+1-th time the writer reaches `step` from now on, it fails with `error`.
enum class FileStep { Write, Sync, Rename };
void injectFileError(FileStep step, int error, int skip = 0);

}  // namespace vem
