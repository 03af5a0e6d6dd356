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
#endif

}  // namespace

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
