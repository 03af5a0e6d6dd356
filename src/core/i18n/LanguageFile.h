#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/MessageTable.h"

namespace vem {

// The sections of language.txt, in file order.
enum class LanguageSection {
    MainWindow, MainMessages, FieldDialog, HoldTimes, DeviceSerial, Progress, DeviceInfo,
    IpAddress, IpAddressMessage, Pos, PosMessage, Video, VideoMessage, DataSend, DataSendMessage,
    PosExtended,
};
constexpr int LanguageSectionCount = 16;

// How many entries of each section have a target; the message section has the classic slots
// here, its further lines fill the slots from 26 on.
constexpr std::array<int, LanguageSectionCount> LanguageTargetCounts = {
    43, 26, 28, 7, 13, 1, 4, 4, 1, 33, 1, 11, 1, 7, 1, 22};

// A line holds at most this many characters before its LF; a text at most this many.
constexpr std::size_t LanguageLineLength = 119;
constexpr std::size_t LanguageTextLength = LanguageLineLength - 3;

// The text lines each section supplied, in order (Windows-1252), as many as the file holds.
struct LanguageFile {
    std::array<std::vector<std::string>, LanguageSectionCount> sections;
    const std::vector<std::string>& section(LanguageSection s) const {
        return sections[static_cast<int>(s)];
    }
};

// Reads the whole file. Lines end in LF with or without CR; a text line loses its first and
// its last character (the framing). A longer line is read to its LF and its text cut to
// LanguageTextLength; a line too short for two framing characters gives an empty text. A file
// that ends early leaves the remaining sections empty.
LanguageFile parseLanguageFile(std::string_view bytes);

// Why a language file was not read.
enum class LanguageFileFault { None, Missing, NotAFile, TooLarge, Unreadable, NotALanguageFile };
// Far more than the longest file the format can give its targets.
constexpr std::size_t LanguageFileLimit = 1024 * 1024;

// Reads a regular file of at most LanguageFileLimit bytes (a link is followed); nothing, with
// `fault` telling why, for anything else, and for a file whose first section holds no text (an
// empty file, random bytes, a text of another kind).
std::optional<LanguageFile> readLanguageFile(const std::string& path, LanguageFileFault& fault);
std::optional<LanguageFile> readLanguageFile(const std::string& path);
// The fault in a few English words, for a message shown before any language file is read.
const char* languageFileFaultText(LanguageFileFault fault);

// The language the file names in its slot Msg::LanguageCode: two or three letters, optionally
// "_" and a region of two to four letters or digits ("de", "pt_BR"). Empty when the file names
// none or something else, so that no other file is ever looked for in its name.
std::string languageCode(const LanguageFile& file);

// The count line's number: leading blanks and a sign, digits up to the first other character;
// no digits or a negative number give 0.
long languageCount(std::string_view line);

// Stores the message sections: section 2 fills the slots in order (surplus lines past the last
// slot are dropped), sections 9, 11, 13 and 15 the dialog messages.
void applyLanguageMessages(const LanguageFile& file, MessageTable& messages, DialogMessages& dialogs);

}  // namespace vem
