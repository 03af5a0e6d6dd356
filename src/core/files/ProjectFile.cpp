#include "files/ProjectFile.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <span>
#include <type_traits>

#include "files/ImageFile.h"
#include "files/ProjectLines.h"
#include "files/ReadoutImages.h"
#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"
#include "model/Project.h"

namespace vem {

std::int32_t projectNumber(std::string_view item) {
    std::size_t i = 0;
    while (i < item.size() && (item[i] == ' ' || (item[i] >= '\t' && item[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < item.size() && (item[i] == '-' || item[i] == '+')) negative = item[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < item.size() && item[i] >= '0' && item[i] <= '9'; ++i)
        value = std::min(value * 10 + (item[i] - '0'), Limit);
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, Limit - 1));
}

std::vector<std::string_view> splitProjectLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = last ? text.size() : end + 1;
    }
    return lines;
}

namespace {

bool unsaveableCell(const std::string& text) {
    return text.find_first_of(",\r\n") != std::string::npos;
}

// Items of one line: all but the last run up to the next ",", the last one is the rest of the
// line. Items past the end of a short line are empty.
class Items {
public:
    explicit Items(std::string_view line) : line_(line) {}
    std::string_view next() {
        if (done_) return {};
        const std::size_t comma = line_.find(',', pos_);
        if (comma == std::string_view::npos) return rest();
        const std::string_view item = line_.substr(pos_, comma - pos_);
        pos_ = comma + 1;
        return item;
    }
    std::string_view rest() {
        if (done_) return {};
        done_ = true;
        return line_.substr(pos_);
    }

private:
    std::string_view line_;
    std::size_t pos_ = 0;
    bool done_ = false;
};

// Stores a number read into its member: a one-byte member keeps the low 8 bits.
template <typename Member>
void store(Member& member, std::int32_t value) {
    if constexpr (std::is_same_v<Member, std::uint8_t>)
        member = low8(value);
    else
        member = value;
}

// Writes the lines of projectFileLines, each ended by a line feed.
class Writer {
public:
    void image(const std::string& name) { text(name); }
    void cells(std::span<const std::string> row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out_ += ',';
            out_ += unsaveableCell(row[c]) ? std::string(" ") : row[c];
        }
        out_ += '\n';
    }
    template <typename Item>
    void numbers(int count, Item item, int /*firstRead*/ = 0) {
        for (int i = 0; i < count; ++i) {
            if (i > 0) out_ += ',';
            out_ += std::to_string(item(i));
        }
        out_ += '\n';
    }
    template <typename Member>
    void number(const Member& member) {
        out_ += std::to_string(member);
        out_ += '\n';
    }
    void text(const std::string& t) {
        for (char c : t) out_ += (c == '\n' || c == '\r') ? ' ' : c;
        out_ += '\n';
    }
    void address(const std::array<int, 4>& octets) { text(dottedAddress(octets)); }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// Reads the lines of projectFileLines; a missing line reads as an empty one. Line 1 is left to
// the caller, who loads the image it names before the rest is read.
class Reader {
public:
    explicit Reader(const std::vector<std::string_view>& lines) : lines_(lines) {}

    void image(const std::string& /*name*/) { line(); }
    void cells(std::span<std::string> row) {
        Items items(line());
        for (std::size_t c = 0; c < row.size(); ++c)
            row[c] = std::string(c + 1 < row.size() ? items.next() : items.rest());
    }
    template <typename Item>
    void numbers(int count, Item item, int firstRead = 0) {
        Items items(line());
        for (int i = 0; i < count; ++i) {
            const std::int32_t value = projectNumber(i + 1 < count ? items.next() : items.rest());
            if (i >= firstRead) store(item(i), value);
        }
    }
    template <typename Member>
    void number(Member& member) { store(member, projectNumber(line())); }
    void text(std::string& t) { t = std::string(line()); }
    // Three numbers each ended by "." and a fourth, the rest of the line.
    void address(std::array<int, 4>& octets) {
        std::string_view rest = line();
        for (int i = 0; i < 4; ++i) {
            const std::size_t dot = i < 3 ? rest.find('.') : std::string_view::npos;
            octets[i] = projectNumber(rest.substr(0, dot));
            rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
        }
    }

private:
    std::string_view line() {
        const std::size_t n = next_++;
        return n < lines_.size() ? lines_[n] : std::string_view{};
    }
    const std::vector<std::string_view>& lines_;
    std::size_t next_ = 0;
};

}  // namespace

std::string writeProjectText(const Project& p) {
    Writer w;
    projectFileLines(p, w);
    return w.take();
}

void readProjectBody(Project& p, const std::vector<std::string_view>& lines) {
    Reader r(lines);
    projectFileLines(p, r);
}

int replaceUnsaveableCells(Project& p) {
    int changed = 0;
    for (std::string& cell : p.screenText) {
        if (!unsaveableCell(cell)) continue;
        cell = " ";
        ++changed;
    }
    return changed;
}

namespace {

namespace fs = std::filesystem;


// The file that line 1 of `text`, saved into `folder`, names.
fs::path fileNamedBy(const std::string& text, const fs::path& folder) {
    const auto lines = splitProjectLines(text);
    return folder / std::string(lines.empty() ? std::string_view{} : lines[0]);
}

// Line 1 for a project saved into `folder`: the template's bare name when that finds it from
// there (or no template was loaded), else a path from there to the template, taken between the
// real folders (a folder reached through a link is not where ".." leads).
std::string templateNameFrom(const Project& p, const fs::path& folder) {
    if (p.templatePath.empty()) return p.imageFileName;
    std::error_code ec;
    const fs::path base = fs::weakly_canonical(folder.empty() ? fs::current_path(ec) : fs::absolute(folder, ec), ec);
    const fs::path named(p.imageFileName);
    if (!named.has_parent_path() && sameFile(base / named, p.templatePath)) return p.imageFileName;
    const fs::path relative = fs::weakly_canonical(p.templatePath, ec).lexically_relative(base);
    return relative.empty() ? p.templatePath : relative.string();
}

// `sofar` failed with message `slot` at `write`.
FileResult saveFailed(FileResult sofar, int slot, const FileWrite& write) {
    FileResult result = std::move(sofar);
    result.ok = false;
    result.messages.push_back(slot);
    result.file = write.file;
    result.reason = saveFailureReason(write.error);
    result.askReplaceReadOnly = write.error == FileWrite::ReadOnlyTarget;
    return result;
}

}  // namespace

int saveFailureReason(int error) {
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Msg::SaveReasonDiskFull;
    case EACCES:
    case EPERM: return Msg::SaveReasonNoPermission;
    case EISDIR: return Msg::SaveReasonFolder;
    case ENAMETOOLONG: return Msg::SaveReasonNameTooLong;
    case EBUSY:
    case ETXTBSY: return Msg::SaveReasonBusy;
    case FileWrite::ReadOnlyTarget: return Msg::SaveReasonReadOnly;
    case FileWrite::NotRegularTarget: return Msg::SaveReasonNotRegular;
    case ENOENT:
    case ENOTDIR: return Msg::SaveReasonNoFolder;
    case ELOOP: return Msg::SaveReasonLinkLoop;
    case FileWrite::ForeignLink: return Msg::SaveReasonForeignLink;
    case FileWrite::ProtectedTarget: return Msg::SaveReasonKeptFile;
    case FileWrite::NameNotFound: return Msg::SaveReasonNameNotFound;
    case EROFS: return Msg::SaveReasonReadOnlySystem;
    default: return Msg::SaveReasonOther;
    }
}

FileResult saveProjectAs(Project& p, const DeviceImage& image, const std::string& target, WriteOptions options) {
    FileResult outcome;
    if (replaceUnsaveableCells(p) > 0) outcome.messages.push_back(Msg::CommaCellsReplaced);
    fs::path file;
    if (const FileWrite refused = followableLinkTarget(target, file); !refused.ok())
        return saveFailed(outcome, Msg::ProjectSaveFailed, refused);
    const fs::path folder = file.parent_path();
    // Never over the template, nor over an image that a project of the folder names.
    options.keep = filesNamedIn(folder);
    if (!p.templatePath.empty()) options.keep.push_back(p.templatePath);
    if (const FileWrite refused = checkReplaceable(target, options); !refused.ok())
        return saveFailed(outcome, Msg::ProjectSaveFailed, refused);
    Project saved = p;
    saved.imageFileName = templateNameFrom(p, folder);
    const std::string stem = readoutStem(file.stem().string());
    if (p.writeReadoutOnSave) {
        // A fresh image first, then the project that names it, then the images no project names
        // any more: a project on disk always names an image that holds what it held when saved.
        const FileWrite written = writeNewFile(
            folder.empty() ? fs::path(".") : folder, [&](int n) { return readoutImageName(stem, n); },
            imageFileBytes(image), file);
        if (!written.ok()) return saveFailed(outcome, Msg::ReadoutSaveFailed, written);
        saved.imageFileName = fs::path(written.file).filename().string();
        saved.templatePath = absoluteName(written.file);
    }
    std::string text = writeProjectText(saved);
    if (!saved.templatePath.empty() && !sameFile(fileNamedBy(text, folder), saved.templatePath)) {
        saved.imageFileName = saved.templatePath;
        text = writeProjectText(saved);
    }
    const auto dropImage = [&] {
        std::error_code ec;
        if (p.writeReadoutOnSave) fs::remove(saved.templatePath, ec);
    };
    if (!saved.templatePath.empty() && !sameFile(fileNamedBy(text, folder), saved.templatePath)) {
        dropImage();
        return saveFailed(outcome, Msg::ProjectSaveFailed, {FileWrite::NameNotFound, file.string()});
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const FileWrite written = writeFileReplacing(target, {bytes, text.size()}, options); !written.ok()) {
        dropImage();
        return saveFailed(outcome, Msg::ProjectSaveFailed, written);
    }
    if (p.writeReadoutOnSave) removeUnnamedReadouts(folder, stem);
    p.imageFileName = saved.imageFileName;
    p.templatePath = saved.templatePath;
    return outcome;
}

std::optional<std::string> readProjectText(const std::string& name, FileFault& fault) {
    const FileRead file = readRegularFile(name, ProjectFileLimit);
    fault = file.fault;
    if (!file.ok()) return std::nullopt;
    return std::string(file.bytes.begin(), file.bytes.end());
}

std::string lastPathComponent(const std::string& name) {
    const std::size_t cut = name.find_last_of("\\/");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

std::string showProjectName(Project& p, const MessageTable& messages, bool modified) {
    p.projectName = lastPathComponent(p.projectName);
    return projectCaption(p.projectName, messages, modified);
}

std::string projectCaption(const std::string& name, const MessageTable& messages, bool modified) {
    return messages.text(Msg::ProjectCaptionPrefix) + name + (modified ? "*" : "") + " ------- ";
}

}  // namespace vem
