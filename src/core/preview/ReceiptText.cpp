#include "preview/ReceiptText.h"

#include <algorithm>
#include <array>
#include <optional>

#include "files/FileIo.h"

namespace vem {
namespace {

// The characters Windows-1252 puts on 0x80..0x9F; 0 where it leaves the byte unused.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char cp1252For(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] != 0 && HighControls[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

// The length of the UTF-8 sequence that starts at `i`, or 0 when none does.
std::size_t utf8Sequence(std::span<const std::uint8_t> b, std::size_t i, char32_t& c) {
    const std::uint8_t lead = b[i];
    std::size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (lead >= 0xF5 || n == 0 || i + n > b.size()) return 0;
    c = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((b[i + k] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b[i + k] & 0x3F);
    }
    const bool overlong = (n == 3 && c < 0x800) || (n == 4 && c < 0x10000);
    return overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0 : n;
}

// The text as Windows-1252 when it is UTF-8 with at least one character beyond ASCII.
std::optional<std::string> fromUtf8(std::span<const std::uint8_t> bytes) {
    std::string text;
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] < 0x80) {
            text += static_cast<char>(bytes[i++]);
            continue;
        }
        char32_t c = 0;
        const std::size_t n = utf8Sequence(bytes, i, c);
        if (n == 0) return std::nullopt;
        beyondAscii = true;
        if (c != 0xFEFF) text += cp1252For(c);  // a byte order mark is no character
        i += n;
    }
    if (!beyondAscii) return std::nullopt;
    return text;
}

// Binary data: a zero byte, or more than one byte in ten a control character that no register
// output line holds (tab, form feed and escape sequences do occur).
bool looksBinary(std::span<const std::uint8_t> bytes) {
    std::size_t controls = 0;
    for (std::uint8_t b : bytes) {
        if (b == 0) return true;
        if (b < 0x20 && b != '\r' && b != '\n' && b != '\t' && b != '\f' && b != 0x1B) ++controls;
    }
    return controls * 10 > bytes.size();
}

}  // namespace

ReceiptText receiptFromBytes(std::span<const std::uint8_t> bytes, const std::string& name) {
    ReceiptText receipt;
    if (looksBinary(bytes)) {
        receipt.refusal = {Msg::ReceiptNotText, {name}};
        return receipt;
    }
    std::string text;
    if (std::optional<std::string> converted = fromUtf8(bytes)) {
        text = std::move(*converted);
        receipt.notes.push_back({Msg::ReceiptWasUtf8, {name}});
    } else {
        text.assign(bytes.begin(), bytes.end());
    }
    bool cut = false;
    std::size_t start = 0;
    while (start < text.size()) {
        if (receipt.lines.size() == ReceiptLineLimit) {
            receipt.notes.push_back({Msg::ReceiptOnlyFirst, {name, std::to_string(ReceiptLineLimit)}});
            break;
        }
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::size_t length = std::min(end - start, ReceiptLineLength);
        cut = cut || end - start > ReceiptLineLength;
        receipt.lines.emplace_back(text, start, length);
        start = end;
        if (start < text.size() && text[start] == '\r') ++start;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    if (cut) receipt.notes.push_back({Msg::ReceiptLinesCut, {name, std::to_string(ReceiptLineLength)}});
    return receipt;
}

ReceiptText readReceiptFile(const std::filesystem::path& path) {
    const std::string name = path.string();
    FileRead read = readRegularFile(path, ReceiptByteLimit);
    if (read.fault == FileFault::TooLarge) {
        std::optional<std::vector<std::uint8_t>> start = readFileBytes(path, ReceiptByteLimit);
        if (start) {
            // The last line read is most likely cut: only whole lines are played.
            const auto lastEnd = std::find_if(start->rbegin(), start->rend(), [](std::uint8_t b) { return b == '\n'; });
            if (lastEnd != start->rend()) start->erase(lastEnd.base(), start->end());
            ReceiptText receipt = receiptFromBytes(*start, name);
            receipt.notes.push_back({Msg::ReceiptOnlyStart, {name, std::to_string(ReceiptByteLimit)}});
            return receipt;
        }
    }
    if (!read.ok()) {
        ReceiptText receipt;
        receipt.refusal = fileFaultMessage(read.fault, name, ReceiptByteLimit);
        return receipt;
    }
    return receiptFromBytes(read.bytes, name);
}

}  // namespace vem
