#include "files/FileIo.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#if !defined(_WIN32)
#define VEM_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vem {

namespace {
namespace fs = std::filesystem;

// The file a save to `path` lands in: links followed (a relative one from the link's folder),
// a dangling link giving the path it names. Empty on a link loop.
fs::path resolveLinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return {};
        path = path.parent_path() / next;  // an absolute `next` replaces the folder
    }
    return {};
}

fs::path tempBeside(const fs::path& file, unsigned tag) {
    fs::path::string_type name = file.filename().native();
    if (name.size() > 200) name.resize(200);  // stay within the file name limit
    fs::path leaf(".");
    leaf += name;
    leaf += "." + std::to_string(tag % 1000000) + ".tmp";
    return file.parent_path() / leaf;
}

#ifdef VEM_POSIX_FILES
bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes the rename itself durable; not every file system allows it, so failures are ignored.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

FileFault faultOf(mode_t mode) {
    if (S_ISREG(mode)) return FileFault::None;
    if (S_ISDIR(mode)) return FileFault::Folder;
    if (S_ISFIFO(mode)) return FileFault::Fifo;
    return FileFault::NotRegular;
}
#endif

// Reads at most `limit` bytes of `path` when it is a regular file.
FileRead readRegularPrefix(const fs::path& path, std::size_t limit) {
    FileRead file;
    file.fault = FileFault::Missing;
    if (path.empty()) return file;
#ifdef VEM_POSIX_FILES
    // Without O_NONBLOCK the open of a FIFO would wait for a writer; a regular file ignores it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        struct stat st {};
        const bool exists = ::stat(path.c_str(), &st) == 0;
        file.fault = !exists ? FileFault::Missing : S_ISREG(st.st_mode) ? FileFault::Unreadable : faultOf(st.st_mode);
        return file;
    }
    struct stat st {};
    file.fault = ::fstat(fd, &st) != 0 ? FileFault::Unreadable : faultOf(st.st_mode);
    if (file.ok()) {
        file.size = static_cast<std::uintmax_t>(st.st_size);
        file.bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(file.size, limit)));
        std::size_t got = 0;
        // The file may have grown or shrunk since fstat: read to its end or one byte past the limit.
        while (file.ok()) {
            if (got == file.bytes.size()) {
                if (got > limit) break;
                file.bytes.resize(std::min(got + 8192, limit + 1));
            }
            const ssize_t n = ::read(fd, file.bytes.data() + got, file.bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) file.fault = FileFault::Unreadable;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        file.bytes.resize(got);
        file.size = std::max<std::uintmax_t>(file.size, got);
    }
    ::close(fd);
#else
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return file;
    file.fault = fs::is_directory(status) ? FileFault::Folder : FileFault::NotRegular;
    if (!fs::is_regular_file(status)) return file;
    file.size = fs::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    file.bytes.resize(limit + 1);
    in.read(reinterpret_cast<char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    file.bytes.resize(static_cast<std::size_t>(in.gcount()));
    file.fault = !in.is_open() || in.bad() ? FileFault::Unreadable : FileFault::None;
    file.size = std::max<std::uintmax_t>(file.size, file.bytes.size());
#endif
    if (!file.ok()) file.bytes.clear();
    return file;
}

}  // namespace

FileRead readRegularFile(const std::filesystem::path& path, std::size_t limit) {
    FileRead file = readRegularPrefix(path, limit);
    if (file.ok() && file.size > limit) {
        file.fault = FileFault::TooLarge;
        file.bytes.clear();
    }
    return file;
}

std::string fileFaultText(FileFault fault, std::size_t limit) {
    switch (fault) {
    case FileFault::None: return {};
    case FileFault::Missing: return "does not exist";
    case FileFault::Folder: return "is a folder";
    case FileFault::Fifo: return "is a FIFO";
    case FileFault::NotRegular: return "is not a regular file";
    case FileFault::TooLarge: return "is larger than " + std::to_string(limit) + " bytes";
    case FileFault::Unreadable: return "cannot be read";
    }
    return {};
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit) {
    FileRead file = readRegularPrefix(path, limit);
    if (!file.ok()) return std::nullopt;
    if (file.bytes.size() > limit) file.bytes.resize(limit);
    return std::move(file.bytes);
}

bool writeFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    if (target.empty() || !target.has_filename()) return false;
    const fs::path file = resolveLinks(target);
    if (file.empty() || !file.has_filename()) return false;
    std::random_device random;
#ifdef VEM_POSIX_FILES
    struct stat old {};
    const bool existed = ::stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = tempBeside(file, random());
        // A new file gets 0666 less the umask; an existing one's mode is copied below.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existed ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = true;
    if (existed) {
        // Owner before mode: a change of owner clears the set-id bits. Only root may give a
        // file away; otherwise the writer keeps it.
        [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(file.parent_path());
    return true;
#else
    std::error_code ec;
    fs::path temp;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = tempBeside(file, random());
        if (!fs::exists(fs::symlink_status(temp, ec))) break;
    }
    const fs::file_status old = fs::status(file, ec);
    bool ok;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        ok = !out.fail();
    }
    if (ok && fs::is_regular_file(old)) {
        fs::permissions(temp, old.permissions(), ec);
        ok = !ec;
    }
    if (ok) {
        fs::rename(temp, file, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
#endif
}

}  // namespace vem
