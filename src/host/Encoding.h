#pragma once
#include <QString>
#include <optional>
#include <string>

namespace vem {

// Texts are Windows-1252 bytes everywhere but in widgets; these convert at the widget boundary.
// Every byte 0..255 converts and comes back unchanged; the bytes the code page leaves unused
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same value.
QString fromCp1252(const std::string& bytes);
std::string toCp1252(const QString& text);  // characters without a Windows-1252 code become '?'
std::optional<unsigned char> cp1252Byte(QChar c);

}  // namespace vem
