#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "i18n/MessageTable.h"
#include "model/PosSettings.h"

namespace vem {

struct DeviceImage;

// ---- POS ----

constexpr int RegisterNumberFallback = 100;
constexpr int ScreenLineCount = 16;
constexpr int ScrollDirectionCount = 2;
constexpr int BackgroundModeCount = 5;
constexpr int TransparencyCount = 7;
constexpr int TextColourCount = 8;

// What the POS dialog shows: the register number as text and the six list positions
// (-1 = no entry selected).
struct PosEntry {
    std::string registerNumber;
    int firstLine = -1;
    int lineCount = -1;
    int scrollDirection = -1;
    int backgroundMode = -1;
    int transparency = -1;
    int textColour = -1;
};

PosEntry posEntry(const PosSettings& s);

enum class PosVerdict {
    Accept,
    KeepOpen,     // register number not 0..99: the dialog stays open without a message
    LinesBeyond,  // first line and line count reach beyond line 16: show the dialog's message
};

PosVerdict checkPosEntry(const PosEntry& typed);
// Stores an accepted entry, each value as its low 8 bits.
void storePosEntry(PosSettings& s, const PosEntry& typed);

// ---- POS extended ----

constexpr int KeywordActionCount = 8;
constexpr int MaxSpacesLimit = 20;

// The controls of the POS extended dialog outside the keyword panel.
struct PosExtendedEntry {
    bool limitTo40 = false;
    std::string startDefinition;
    bool showHeader = false;
    std::string endDefinition;
    std::string maxSpaces;
    bool skipMode = false;
};

PosExtendedEntry posExtendedEntry(const PosExtendedSettings& s);
// The number typed for the most spaces, 0 when it is not one, lowered to 20.
int readMaxSpaces(const std::string& typed);
// The message that says the limit, when the typed number is lowered to it.
std::optional<SlotMessage> maxSpacesLimit(const std::string& typed);

// The action radio button (0..7) to select for keyword `keyword`; -1 when the stored action
// has no button.
int keywordActionPosition(const PosExtendedSettings& s, int keyword);
// Stores the text and action (-1 = no button selected, stored as 0) of keyword `keyword`.
void commitKeyword(PosExtendedSettings& s, int keyword, const std::string& text, int actionPosition);
// Pressing keyword button `pressed` (0..9) while `currentKeyword` is shown with `shownText`
// and `shownAction`: commits the shown keyword and makes `pressed` current. Returns false,
// changing nothing, when `pressed` is already current.
bool switchKeyword(PosExtendedSettings& s, int& currentKeyword, int pressed,
                   const std::string& shownText, int shownAction);
// "übernehmen": stores every control and the keyword that is shown.
void acceptPosExtended(PosExtendedSettings& s, const PosExtendedEntry& typed, int shownKeyword,
                       const std::string& shownText, int shownAction);

}  // namespace vem
