#include "ProjectOpen.h"

#include <filesystem>

#include "files/FileIo.h"
#include "files/ProjectCheck.h"
#include "host/Encoding.h"

namespace vem::cli {

namespace {
constexpr char16_t EscapedByte = 0xDC00;

bool isEscapedByte(const QString& text, qsizetype i) {
    const char16_t c = text[i].unicode();
    return c >= EscapedByte + 0x80 && c <= EscapedByte + 0xFF && (i == 0 || !text[i - 1].isHighSurrogate());
}

// How many bytes the UTF-8 sequence starting with `lead` claims.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    return (lead & 0xF8) == 0xF0 ? 4 : 1;
}
}  // namespace

QString fromFileSystemName(const std::string& name) {
    QString text;
    const QByteArray bytes = QByteArray::fromStdString(name);
    for (qsizetype i = 0; i < bytes.size();) {
        const QByteArray sequence = bytes.mid(i, sequenceLength(static_cast<unsigned char>(bytes[i])));
        const QString decoded = QString::fromUtf8(sequence);
        if (decoded.toUtf8() == sequence) {
            text += decoded;
            i += sequence.size();
        } else {
            text += QChar(char16_t(EscapedByte + static_cast<unsigned char>(bytes[i++])));
        }
    }
    return text;
}

std::string fileSystemName(const QString& path) {
    std::string bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isEscapedByte(path, i)) continue;
        bytes += path.mid(runStart, i - runStart).toUtf8().toStdString();
        if (i < path.size()) bytes += static_cast<char>(path[i].unicode() - EscapedByte);
        runStart = i + 1;
    }
    return bytes;
}


QString pathMessage(const MessageTable& messages, int slot, const QString& path) {
    return fromCp1252(messages.text(slot)).arg(path);
}

bool folderOfExists(const QString& path, Console& console, const MessageTable& messages) {
    if (path.isEmpty()) {
        console.message(messages, Msg::NoFileNamed);
        return false;
    }
    const std::filesystem::path folder = projectFolderOf(fileSystemName(path));
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return true;
    console.error(pathMessage(messages, Msg::NoSuchFolder, fromFileSystemName(folder.string())));
    return false;
}

namespace {
// The project's name in Windows-1252, as the device holds names: a file name that is not UTF-8
// is taken byte for byte, as a name saved on Windows holds it.
std::string deviceName(const QString& path) {
    const QByteArray bytes = QByteArray::fromStdString(fileSystemName(path));
    return QString::fromUtf8(bytes).toUtf8() == bytes ? toCp1252(path) : bytes.toStdString();
}
}  // namespace

bool openProjectIn(Session& session, Console& console, const QString& path, bool needTemplate) {
    if (!folderOfExists(path, console, session.messages())) return false;
    Outcome opened = session.document().openProject(fileSystemName(path), deviceName(path));
    if (opened.question) opened = session.answer(true);  // check says the problems
    for (int slot : opened.messages) {
        console.message(session.messages(), slot);
        for (const QString& line : fromCp1252(opened.detail).split('\n', Qt::SkipEmptyParts)) console.error("  " + line);
    }
    if (!opened.ok || !needTemplate || session.document().image().imageTemplateLoaded) return opened.ok;
    console.error(pathMessage(session.messages(), Msg::TemplateBesideProject, path));
    return false;
}

std::optional<std::vector<SlotMessage>> checkProjectIn(Console& console, const MessageTable& messages,
                                                       const QString& path) {
    if (!folderOfExists(path, console, messages)) return std::nullopt;
    return checkProjectFile(fileSystemName(path));
}

bool passesCheck(Console& console, const MessageTable& messages, const QString& path) {
    const auto problems = checkProjectIn(console, messages, path);
    if (!problems) return false;
    for (const SlotMessage& problem : *problems) console.error(path + ": " + fromCp1252(messages.text(problem)));
    if (!problems->empty()) console.error(pathMessage(messages, Msg::RefusedAsCheckRefuses, path));
    return problems->empty();
}

}  // namespace vem::cli
