// libFuzzer target: receipts. The input is read as a register's output and played through POS
// rules taken from its first bytes; the rows kept stay within the screen.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "preview/PreviewPicture.h"
#include "preview/ReceiptText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vem::ReceiptText receipt = vem::receiptFromBytes(std::span(data, size), "fuzz");
    if (!receipt.ok() && !receipt.lines.empty()) __builtin_trap();
    vem::Project project;
    auto byte = [&](std::size_t i) { return size > i ? data[i] : std::uint8_t{0}; };
    vem::PosExtendedSettings& rules = project.posExtended;
    rules.LimitTo40 = byte(0) & 1;
    rules.ShowHeader = byte(0) >> 1 & 1;
    rules.SkipMode = byte(0) >> 2 & 1;
    rules.MaxSpaces = byte(1) % 24 - 2;
    rules.StartDefinition = std::string(1, static_cast<char>(byte(2)));
    rules.EndDefinition = std::string(1, static_cast<char>(byte(3)));
    rules.Keyword[0] = std::string(1, static_cast<char>(byte(4)));
    rules.KeywordAction[0] = byte(5) % 10 - 1;
    project.pos = {1, static_cast<std::uint8_t>(byte(6) % 18), static_cast<std::uint8_t>(byte(7) % 18), byte(8),
                   byte(9), byte(10), byte(11)};
    vem::ReceiptPlayer player(rules);
    for (const std::string& line : receipt.lines) {
        if (line.size() > vem::ReceiptLineLength) __builtin_trap();
        player.feed(line);
        if (player.rows().size() > vem::ReceiptPlayer::RowsKept) __builtin_trap();
    }
    for (const vem::PosLine& row : player.rows())
        if (row.text.size() > vem::ScreenColumns) __builtin_trap();
    (void)vem::buildPreview(project, {0, {}, &player.rows()});
    return 0;
}
