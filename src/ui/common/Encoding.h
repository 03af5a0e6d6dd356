#pragma once
#include <QString>
#include <optional>
#include <string>

namespace vem {

// Texts are Windows-1252 bytes everywhere but in widgets; these convert at the widget boundary.
QString fromCp1252(const std::string& bytes);
std::string toCp1252(const QString& text);  // characters without a Windows-1252 code become '?'
std::optional<unsigned char> cp1252Byte(QChar c);

}  // namespace vem
