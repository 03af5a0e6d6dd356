#include "files/FileIo.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#if !defined(_WIN32)
#define VEM_POSIX_FILES 1
#include <fcntl.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vem {

namespace {
namespace fs = std::filesystem;

#ifdef VEM_POSIX_FILES
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
        const int openError = errno;
        const bool exists = ::stat(path.c_str(), &st) == 0;
        errno = openError;
        file.fault = errno == ELOOP          ? FileFault::LinkLoop
                     : errno == ENAMETOOLONG ? FileFault::NameTooLong
                     : !exists               ? FileFault::Missing
                     : S_ISREG(st.st_mode)   ? FileFault::Unreadable
                                             : faultOf(st.st_mode);
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

SlotMessage fileFaultMessage(FileFault fault, const std::string& file, std::size_t limit) {
    switch (fault) {
    case FileFault::None: return {};
    case FileFault::Missing: return {Msg::FileMissing, {file}};
    case FileFault::Folder: return {Msg::FileIsFolder, {file}};
    case FileFault::Fifo: return {Msg::FileIsFifo, {file}};
    case FileFault::NotRegular: return {Msg::FileNotRegular, {file}};
    case FileFault::TooLarge: return {Msg::FileTooLarge, {file, std::to_string(limit)}};
    case FileFault::Unreadable: return {Msg::FileUnreadable, {file}};
    case FileFault::LinkLoop: return {Msg::FileLinkLoop, {file}};
    case FileFault::NameTooLong: return {Msg::FileNameTooLong, {file}};
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

namespace {

struct InjectedError {
    FileStep step = FileStep::Write;
    int error = 0;
    int skip = 0;
};
std::optional<InjectedError> injected;

// The error injected for this arrival at `step`, or 0.
int injectedError(FileStep step) {
    if (!injected || injected->step != step) return 0;
    if (injected->skip-- > 0) return 0;
    const int error = injected->error;
    injected.reset();
    return error;
}

FileWrite failure(int error, const fs::path& file) { return {error, file.string()}; }

// The temporary files of `owner` are named ".NAME.PID-TAG.tmp", NAME being the owner's name.
std::string tempPrefix(const fs::path& owner) {
    std::string name = owner.filename().string();
    if (name.size() > 200) name.resize(200);  // stay within the file name limit
    return "." + name + ".";
}

#ifdef VEM_POSIX_FILES
bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        if (const int error = injectedError(FileStep::Write)) {
            errno = error;
            return false;
        }
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

int syncFile(int fd) {
    if (const int error = injectedError(FileStep::Sync)) return error;
    return ::fsync(fd) == 0 ? 0 : errno;
}

int renameFile(const fs::path& from, const fs::path& to) {
    if (const int error = injectedError(FileStep::Rename)) return error;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Makes the rename itself durable; not every file system allows it, so failures are ignored.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Removes the temporary files of `owner` whose writer has ended.
void removeLeftTemps(const fs::path& owner) {
    const std::string prefix = tempPrefix(owner);
    std::error_code ec;
    const fs::path folder = owner.parent_path().empty() ? fs::path(".") : owner.parent_path();
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
        const std::string tag = name.substr(prefix.size());
        const pid_t pid = static_cast<pid_t>(std::atol(tag.c_str()));
        if (pid <= 0 || tag.find('-') == std::string::npos) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(entry.path().c_str());
    }
}

// A written and flushed temporary file beside its owner, not yet renamed.
struct Staged {
    fs::path temp;
    fs::path file;  // where it goes
};

// Writes `bytes` to a new temporary file of `owner`, with the mode and owner of `old` (the
// existing target) when there is one.
FileWrite stage(const fs::path& owner, std::span<const std::uint8_t> bytes, const struct stat* old, Staged& staged) {
    std::random_device random;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        fs::path leaf(tempPrefix(owner) + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000) +
                      ".tmp");
        staged.temp = owner.parent_path() / leaf;
        // A new file gets 0666 less the umask; an existing one's mode is copied below.
        fd = ::open(staged.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, old ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) return failure(errno, owner);
    }
    if (fd < 0) return failure(EEXIST, owner);
    int error = writeAll(fd, bytes) ? 0 : errno;
    if (old && error == 0) {
        // After the write, which clears the set-id bits of a file a non-root user writes; owner
        // before mode, as a change of owner clears them too. Only root may give a file away.
        [[maybe_unused]] const int owned = ::fchown(fd, old->st_uid, old->st_gid);
        if (::fchmod(fd, old->st_mode & 07777) != 0) error = errno;
    }
    if (error == 0) error = syncFile(fd);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(staged.temp.c_str());
        return failure(error, owner);
    }
    return {};
}

// Checks the target of a replacing write: the file it lands in, and its mode when it exists.
FileWrite examineTarget(const fs::path& target, WriteOptions options, fs::path& file, std::optional<struct stat>& old) {
    if (target.empty()) return failure(ENOENT, target);
    if (!target.has_filename()) return failure(fs::is_directory(target) ? EISDIR : ENOENT, target);
    if (FileWrite refused = followableLinkTarget(target, file); !refused.ok()) return refused;
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        if (errno != ENOENT) return failure(errno, file);
        struct stat folder {};
        const fs::path parent = file.parent_path().empty() ? fs::path(".") : file.parent_path();
        if (::stat(parent.c_str(), &folder) != 0) return failure(errno, file);
        if (!S_ISDIR(folder.st_mode)) return failure(ENOTDIR, file);
        return {};
    }
    if (S_ISDIR(st.st_mode)) return failure(EISDIR, file);
    if (!S_ISREG(st.st_mode)) return failure(FileWrite::NotRegularTarget, file);
    for (const fs::path& kept : options.keep) {
        struct stat keptStat {};
        if (::stat(kept.c_str(), &keptStat) == 0 && keptStat.st_dev == st.st_dev && keptStat.st_ino == st.st_ino)
            return failure(FileWrite::ProtectedTarget, file);
    }
    if ((st.st_mode & 0222) == 0 && !options.replaceReadOnly) return failure(FileWrite::ReadOnlyTarget, file);
    old = st;
    return {};
}
#endif

}  // namespace

void injectFileError(FileStep step, int error, int skip) { injected = InjectedError{step, error, skip}; }

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

std::string absoluteName(const fs::path& path) {
    std::error_code error;
    return fs::absolute(path, error).lexically_normal().string();
}

namespace {
// Whether this user may follow the link `link`: anywhere but in a sticky folder that everyone
// may write to, where only the user's own links and those of the folder's owner are followed.
bool mayFollow([[maybe_unused]] const fs::path& link) {
#ifdef VEM_POSIX_FILES
    struct stat linkStat {}, folder {};
    const fs::path parent = link.parent_path().empty() ? fs::path(".") : link.parent_path();
    if (::lstat(link.c_str(), &linkStat) != 0 || ::stat(parent.c_str(), &folder) != 0) return true;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkStat.st_uid == ::geteuid() || linkStat.st_uid == folder.st_uid;
#else
    return true;
#endif
}

// Follows the links at `path`; empty on a loop, and at a link `mayFollow` refuses when `guarded`
// (`refused` then names it).
fs::path followLinks(fs::path path, bool guarded, fs::path& refused) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        if (guarded && !mayFollow(path)) {
            refused = path;
            return {};
        }
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return {};
        path = path.parent_path() / next;  // an absolute `next` replaces the folder
    }
    return {};
}
}  // namespace

fs::path resolveLinks(fs::path path) {
    fs::path unused;
    return followLinks(std::move(path), false, unused);
}

fs::path projectFolderOf(const fs::path& projectFile) {
    const fs::path target = resolveLinks(projectFile);  // a loop is named when the file is read
    return fs::path(absoluteName(target.empty() ? projectFile : target)).parent_path();
}

fs::path nameFrom(const fs::path& folder, const std::string& name) {
    const fs::path named(name);
    return folder.empty() || named.is_absolute() ? named : folder / named;
}

FileWrite followableLinkTarget(const fs::path& path, fs::path& file) {
    fs::path refused;
    file = followLinks(path, true, refused);
    if (!refused.empty()) return failure(FileWrite::ForeignLink, refused);
    return file.empty() ? failure(ELOOP, path) : FileWrite{};
}

FileWrite writeFileReplacing(const fs::path& target, std::span<const std::uint8_t> bytes, WriteOptions options) {
    const FileToWrite one{target, bytes};
    return writeFilesReplacing({&one, 1}, options);
}

#ifdef VEM_POSIX_FILES
FileWrite checkReplaceable(const fs::path& target, WriteOptions options) {
    fs::path file;
    std::optional<struct stat> old;
    return examineTarget(target, options, file, old);
}

FileWrite writeFilesReplacing(std::span<const FileToWrite> files, WriteOptions options) {
    std::vector<Staged> staged;
    const auto dropStaged = [&] {
        for (const Staged& s : staged) ::unlink(s.temp.c_str());
    };
    for (const FileToWrite& f : files) {
        fs::path file;
        std::optional<struct stat> old;
        FileWrite examined = examineTarget(f.target, options, file, old);
        if (examined.ok()) {
            removeLeftTemps(file);
            Staged s{{}, file};
            examined = stage(file, f.bytes, old ? &*old : nullptr, s);
            if (examined.ok()) staged.push_back(s);
        }
        if (!examined.ok()) {
            dropStaged();
            return examined;
        }
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (const int error = renameFile(staged[i].temp, staged[i].file)) {
            for (std::size_t j = i; j < staged.size(); ++j) ::unlink(staged[j].temp.c_str());
            return failure(error, staged[i].file);
        }
        syncFolder(staged[i].file.parent_path());
    }
    return {};
}

namespace {
// The name a new file would take now; what a write that failed before taking one names.
fs::path firstFreeName(const fs::path& folder, const std::function<fs::path(int)>& nameFor) {
    for (int n = 1; n < 10000; ++n) {
        const fs::path name = (folder / nameFor(n)).lexically_normal();
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(name, ec))) return name;
    }
    return (folder / nameFor(1)).lexically_normal();
}
}  // namespace

FileWrite writeNewFile(const fs::path& folder, const std::function<fs::path(int)>& nameFor,
                       std::span<const std::uint8_t> bytes, const fs::path& tempOwner) {
    removeLeftTemps(tempOwner);
    Staged s{{}, {}};
    // The temporary file bears the owner's name, the failure the new file's.
    if (FileWrite written = stage(tempOwner, bytes, nullptr, s); !written.ok())
        return failure(written.error, firstFreeName(folder, nameFor));
    for (int n = 1; n < 10000; ++n) {
        const fs::path name = folder / nameFor(n);
        if (::link(s.temp.c_str(), name.c_str()) == 0) {
            ::unlink(s.temp.c_str());
            syncFolder(folder);
            return {0, name.string()};
        }
        if (errno == EEXIST) continue;
        // Without hard links (some file systems), a rename that refuses to replace.
        if ((errno == EPERM || errno == ENOTSUP || errno == EMLINK) &&
            ::renameat2(AT_FDCWD, s.temp.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
            syncFolder(folder);
            return {0, name.string()};
        }
        if (errno == EEXIST) continue;
        const int error = errno;
        ::unlink(s.temp.c_str());
        return failure(error, name);
    }
    ::unlink(s.temp.c_str());
    return failure(EEXIST, folder / nameFor(1));
}
#else
FileWrite checkReplaceable(const fs::path& target, WriteOptions options) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) return failure(EISDIR, target);
    if (fs::exists(status) && !fs::is_regular_file(status)) return failure(FileWrite::NotRegularTarget, target);
    for (const fs::path& kept : options.keep)
        if (sameFile(target, kept)) return failure(FileWrite::ProtectedTarget, target);
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none &&
        !options.replaceReadOnly)
        return failure(FileWrite::ReadOnlyTarget, target);
    return {};
}

FileWrite writeFilesReplacing(std::span<const FileToWrite> files, WriteOptions options) {
    for (const FileToWrite& f : files)
        if (FileWrite checked = checkReplaceable(f.target, options); !checked.ok()) return checked;
    for (const FileToWrite& f : files) {
        const fs::path temp = f.target.parent_path() / fs::path(tempPrefix(f.target) + "0-0.tmp");
        std::error_code ec;
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(f.bytes.data()), static_cast<std::streamsize>(f.bytes.size()));
            out.close();
            if (out.fail()) return failure(EIO, f.target);
        }
        fs::rename(temp, f.target, ec);
        if (ec) {
            fs::remove(temp, ec);
            return failure(EIO, f.target);
        }
    }
    return {};
}

FileWrite writeNewFile(const fs::path& folder, const std::function<fs::path(int)>& nameFor,
                       std::span<const std::uint8_t> bytes, const fs::path& /*tempOwner*/) {
    for (int n = 1; n < 10000; ++n) {
        const fs::path name = folder / nameFor(n);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(name, ec))) continue;
        std::ofstream out(name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        return out.fail() ? failure(EIO, name) : FileWrite{0, name.string()};
    }
    return failure(EEXIST, folder / nameFor(1));
}
#endif

}  // namespace vem
