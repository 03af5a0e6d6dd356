#include "i18n/LanguageFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

namespace vem {
namespace {

class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    // The next line without its LF and CR; nothing at the end of the file.
    std::optional<std::string_view> next() {
        if (pos_ >= bytes_.size()) return std::nullopt;
        const std::size_t lf = bytes_.find('\n', pos_);
        const std::size_t end = lf == std::string_view::npos ? bytes_.size() : lf;
        std::string_view line = bytes_.substr(pos_, end - pos_);
        pos_ = lf == std::string_view::npos ? bytes_.size() : lf + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

std::string textOf(std::string_view line) {
    if (line.size() < 2) return {};
    return std::string(line.substr(1, std::min(line.size() - 2, LanguageTextLength)));
}

}  // namespace

long languageCount(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    long n = 0;
    constexpr long limit = std::numeric_limits<long>::max() / 10 - 9;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        if (n < limit) n = n * 10 + (line[i] - '0');
    return negative ? 0 : n;
}

LanguageFile parseLanguageFile(std::string_view bytes) {
    LanguageFile file;
    LineReader reader(bytes);
    if (!reader.next()) return file;  // header
    for (int s = 0; s < LanguageSectionCount; ++s) {
        if (s > 0 && !reader.next()) break;  // separator
        const auto countLine = reader.next();
        if (!countLine) break;
        auto& texts = file.sections[s];
        for (long n = languageCount(*countLine); n > 0; --n) {
            const auto line = reader.next();
            if (!line) return file;
            texts.push_back(textOf(*line));
        }
    }
    return file;
}

std::optional<LanguageFile> readLanguageFile(const std::string& path, LanguageFileFault& fault) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    fault = LanguageFileFault::Missing;
    if (path.empty() || !std::filesystem::exists(status)) return std::nullopt;
    fault = LanguageFileFault::NotAFile;
    if (!std::filesystem::is_regular_file(status)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes(LanguageFileLimit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    fault = !in.is_open() || in.bad()            ? LanguageFileFault::Unreadable
            : bytes.size() > LanguageFileLimit ? LanguageFileFault::TooLarge
                                               : LanguageFileFault::None;
    if (fault != LanguageFileFault::None) return std::nullopt;
    LanguageFile file = parseLanguageFile(bytes);
    if (!file.sections[0].empty()) return file;
    fault = LanguageFileFault::NotALanguageFile;
    return std::nullopt;
}

std::optional<LanguageFile> readLanguageFile(const std::string& path) {
    LanguageFileFault fault{};
    return readLanguageFile(path, fault);
}

const char* languageFileFaultText(LanguageFileFault fault) {
    switch (fault) {
    case LanguageFileFault::None: return "";
    case LanguageFileFault::Missing: return "not found";
    case LanguageFileFault::NotAFile: return "not a regular file";
    case LanguageFileFault::TooLarge: return "larger than 1 MiB";
    case LanguageFileFault::Unreadable: return "cannot be read";
    case LanguageFileFault::NotALanguageFile: return "not a language file";
    }
    return "";
}

std::string languageCode(const LanguageFile& file) {
    const auto& slots = file.section(LanguageSection::MainMessages);
    if (slots.size() <= static_cast<std::size_t>(Msg::LanguageCode)) return {};
    const std::string& code = slots[Msg::LanguageCode];
    auto letters = [](std::string_view s, std::size_t min, std::size_t max, bool digits) {
        return s.size() >= min && s.size() <= max && std::all_of(s.begin(), s.end(), [digits](char c) {
                   return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (digits && c >= '0' && c <= '9');
               });
    };
    const std::size_t underscore = code.find('_');
    const std::string_view language = std::string_view(code).substr(0, underscore);
    const bool valid = letters(language, 2, 3, false) &&
                       (underscore == std::string::npos ||
                        letters(std::string_view(code).substr(underscore + 1), 2, 4, true));
    return valid ? code : std::string();
}

void applyLanguageMessages(const LanguageFile& file, MessageTable& messages, DialogMessages& dialogs) {
    const auto& slots = file.section(LanguageSection::MainMessages);
    for (std::size_t i = 0; i < slots.size() && static_cast<int>(i) < messages.slotCount(); ++i)
        messages.setText(static_cast<int>(i), slots[i]);
    const std::pair<LanguageSection, DialogId> dialogSections[] = {
        {LanguageSection::IpAddressMessage, DialogId::IpAddress},
        {LanguageSection::PosMessage, DialogId::Pos},
        {LanguageSection::VideoMessage, DialogId::Video},
        {LanguageSection::DataSendMessage, DialogId::DataSend},
    };
    for (const auto& [section, id] : dialogSections)
        if (!file.section(section).empty()) dialogs.setText(id, file.section(section).front());
}

}  // namespace vem
