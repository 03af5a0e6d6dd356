#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/DeviceSettings.h"
#include "model/PosSettings.h"

namespace vem {

// The colours of the POS dialog's "Farbe" list, in its order.
enum class DeviceColour : std::uint8_t { White, LightGrey, Red, Yellow, Blue, Green, Grey, Black };

// The actions a keyword may trigger, in the order of the POS extended dialog's "Aktion" list.
enum class KeywordAction : std::uint8_t { None, Red, Yellow, Black, White, Send, Capitals, Relay };

// One row of the POS area: at most 40 characters, Windows-1252.
struct PosLine {
    std::string text;
    std::optional<DeviceColour> colour;  // a keyword's colour; none: the POS text colour
};

// A keyword action that leaves the picture as it is (sending, the relay), with the receipt line
// (from 1) that triggered it.
struct PosEvent {
    int line = 0;
    int keyword = 0;  // 1..10
    KeywordAction action = KeywordAction::None;
};

// Feeds a receipt's lines, one at a time, through the POS rules of the project and keeps the
// rows the POS area shows:
// - with a start definition, output starts at a line holding it, and each such line begins a
//   new receipt on a cleared area; that line itself is shown only with "Header einblenden"; output ends after a line
//   holding the end definition, which is shown. Without a start definition every line is output.
// - a run of spaces longer than "max. Anzahl" is cut to that many ("Max-Mode") or left out
//   ("Skip_mode"); a maximum of 0 leaves spaces as they are;
// - a line holding a keyword (the first of 1..10 it holds, compared byte for byte) takes its
//   action: a colour, capitals, or an event for sending and the relay;
// - with "Begrenzung auf 40 Zeichen/Zeile" a line is cut at 40 characters; without it a longer
//   line goes on in the next row.
class ReceiptPlayer {
public:
    static constexpr int RowsKept = 16;

    explicit ReceiptPlayer(const PosExtendedSettings& rules);

    void feed(std::string_view line);
    // The rows output so far, oldest first; at most RowsKept.
    const std::deque<PosLine>& rows() const { return rows_; }
    // Sending and relay actions, oldest first; the last 64.
    const std::deque<PosEvent>& events() const { return events_; }
    int linesFed() const { return linesFed_; }
    const PosExtendedSettings& rules() const { return rules_; }
    bool insideOutput() const { return inside_; }

private:
    void output(std::string text, std::optional<DeviceColour> colour);

    const PosExtendedSettings rules_;
    std::deque<PosLine> rows_;
    std::deque<PosEvent> events_;
    int linesFed_ = 0;
    bool inside_;
};

// The line with each run of more than `maxSpaces` spaces cut to that many, or, in skip mode,
// left out; 0 keeps every space.
std::string limitSpaces(std::string_view line, int maxSpaces, bool skipMode);

// How long a register line of `bytes` characters and its CR LF takes on the device's serial
// line (ten bits a character at its baud rate), in milliseconds, at least 1.
int lineMilliseconds(const DeviceSettings& device, std::size_t bytes);

// Windows-1252 capitals (ä to Ä, ö to Ö, ü to Ü; ß stays).
std::string capitals(std::string_view line);

}  // namespace vem
