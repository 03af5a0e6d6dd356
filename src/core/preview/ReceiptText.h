#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "i18n/MessageTable.h"

namespace vem {

// The lines of a receipt as a register sends them: Windows-1252, without their line ends.
struct ReceiptText {
    std::vector<std::string> lines;
    std::vector<SlotMessage> notes;  // what was changed or left out on the way, one message each
    SlotMessage refusal;             // why there is no receipt at all; slot -1 when there is one
    bool ok() const { return refusal.slot < 0; }
};

// What a receipt may hold: more is left out, with a note.
constexpr std::size_t ReceiptByteLimit = 8 * 1024 * 1024;
constexpr std::size_t ReceiptLineLimit = 200000;
constexpr std::size_t ReceiptLineLength = 1024;

// Splits `bytes` at CR LF, LF or CR. Binary data is refused; UTF-8 text is converted to
// Windows-1252 with a note; a line above ReceiptLineLength bytes is cut (the rest of it is not
// shown), and lines beyond ReceiptLineLimit are left out. `name` names the file in messages.
ReceiptText receiptFromBytes(std::span<const std::uint8_t> bytes, const std::string& name);

// The receipt in the file at `path`: at most ReceiptByteLimit bytes of it are read.
ReceiptText readReceiptFile(const std::filesystem::path& path);

}  // namespace vem
