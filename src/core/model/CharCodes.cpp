#include "model/CharCodes.h"

#include <array>
#include <utility>

namespace vem {
namespace {

// Device code, Windows-1252 character.
constexpr std::array<std::pair<std::uint8_t, unsigned char>, 9> DeviceSpecials{{
    {128, 0xB0},  // degree sign
    {130, 0x80},  // euro sign
    {131, 0xE4},  // a umlaut
    {132, 0xC4},  // A umlaut
    {133, 0xF6},  // o umlaut
    {134, 0xD6},  // O umlaut
    {135, 0xFC},  // u umlaut
    {136, 0xDC},  // U umlaut
    {137, 0xDF},  // sharp s
}};

}  // namespace

bool isAllowedCellChar(unsigned char c) {
    // The project file separates cells with commas and has no escape for one.
    if (c == ',') return false;
    // 0x7F is the Delete key's character, not one the device shows.
    if (c >= 0x20 && c <= 0x80 && c != 0x7F) return true;
    for (const auto& [code, ch] : DeviceSpecials)
        if (ch == c) return true;
    return false;
}

std::string cellTextForChar(unsigned char c) {
    if (c == '&') return "&&";
    return std::string(1, static_cast<char>(c));
}

std::uint8_t deviceCodeForCell(const std::string& cellText) {
    if (cellText.empty()) return ' ';
    if (cellText == "&&") return 38;
    const auto c = static_cast<unsigned char>(cellText[0]);
    for (const auto& [code, ch] : DeviceSpecials)
        if (ch == c) return code;
    return c;
}

std::string cellTextForDeviceCode(std::uint8_t code) {
    if (code == 0) return "";
    if (code == 38) return "&&";
    for (const auto& [devCode, ch] : DeviceSpecials)
        if (devCode == code) return std::string(1, static_cast<char>(ch));
    return std::string(1, static_cast<char>(code));
}

}  // namespace vem
