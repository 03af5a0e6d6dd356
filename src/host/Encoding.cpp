#include "host/Encoding.h"

#include <array>

namespace vem {
namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// unused keep their own value (a C1 control), so that every byte comes back unchanged.
constexpr std::array<char16_t, 32> High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString fromCp1252(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(b >= 0x80 && b <= 0x9F ? High[b - 0x80] : static_cast<char16_t>(b)));
    }
    return out;
}

std::optional<unsigned char> cp1252Byte(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<unsigned char>(u);
    for (std::size_t i = 0; i < High.size(); ++i)
        if (High[i] == u) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string toCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) out.push_back(static_cast<char>(cp1252Byte(c).value_or('?')));
    return out;
}

}  // namespace vem
