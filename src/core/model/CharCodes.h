#pragma once
#include <cstdint>
#include <string>

namespace vem {

// Cell texts are Windows-1252; the device uses its own codes for a few characters.

// True for the characters the keyboard may put into a cell (never the comma, which the
// project file cannot hold).
bool isAllowedCellChar(unsigned char c);

// The cell text for a typed character ("&&" for the ampersand).
std::string cellTextForChar(unsigned char c);

// Device code of a cell text: its first character mapped, "&&" gives 38, empty gives 32.
std::uint8_t deviceCodeForCell(const std::string& cellText);

// Cell text for a device code; code 0 gives an empty cell.
std::string cellTextForDeviceCode(std::uint8_t code);

}  // namespace vem
