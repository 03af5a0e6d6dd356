#include "settings/PosRules.h"

#include <algorithm>

#include "model/DeviceImage.h"
#include "settings/SettingsRules.h"

namespace vem {

namespace {
bool isKeyword(int k) { return k >= 0 && k < KeywordCount; }
}  // namespace

PosEntry posEntry(const PosSettings& s) {
    PosEntry e;
    e.registerNumber = std::to_string(s.RegisterNumber);
    e.firstLine = listPosition(s.FirstLine - 1, ScreenLineCount);
    e.lineCount = listPosition(s.LineCount - 1, ScreenLineCount);
    e.scrollDirection = listPosition(s.ScrollDirection, ScrollDirectionCount);
    e.backgroundMode = listPosition(s.BackgroundMode, BackgroundModeCount);
    e.transparency = listPosition(s.Transparency - 1, TransparencyCount);
    e.textColour = listPosition(s.TextColour, TextColourCount);
    return e;
}

PosVerdict checkPosEntry(const PosEntry& typed) {
    // A negative number would be stored as 256 less its amount, beyond the numbers the check
    // lets through, so it is kept out like any other number outside 0..99.
    const int number = readNumber(typed.registerNumber, RegisterNumberFallback);
    if (number < 0 || number >= RegisterNumberFallback) return PosVerdict::KeepOpen;
    if (typed.firstLine + typed.lineCount > ScreenLineCount - 1) return PosVerdict::LinesBeyond;
    return PosVerdict::Accept;
}

void storePosEntry(PosSettings& s, const PosEntry& typed) {
    s.RegisterNumber = low8(readNumber(typed.registerNumber, RegisterNumberFallback));
    s.FirstLine = low8(typed.firstLine + 1);
    s.LineCount = low8(typed.lineCount + 1);
    s.ScrollDirection = low8(typed.scrollDirection);
    s.BackgroundMode = low8(typed.backgroundMode);
    s.Transparency = low8(typed.transparency + 1);
    s.TextColour = low8(typed.textColour);
}

PosExtendedEntry posExtendedEntry(const PosExtendedSettings& s) {
    PosExtendedEntry e;
    e.limitTo40 = s.LimitTo40 == 1;
    e.startDefinition = s.StartDefinition;
    e.showHeader = s.ShowHeader == 1;
    e.endDefinition = s.EndDefinition;
    e.maxSpaces = std::to_string(s.MaxSpaces);
    e.skipMode = s.SkipMode != 0;
    return e;
}

int readMaxSpaces(const std::string& typed) {
    return std::min(readNumber(typed, 0), MaxSpacesLimit);
}

std::optional<SlotMessage> maxSpacesLimit(const std::string& typed) {
    if (readNumber(typed, 0) <= MaxSpacesLimit) return std::nullopt;
    return SlotMessage{Msg::MaxSpacesAtMost, {std::to_string(MaxSpacesLimit)}};
}

int keywordActionPosition(const PosExtendedSettings& s, int keyword) {
    if (!isKeyword(keyword)) return -1;
    return listPosition(s.KeywordAction[keyword], KeywordActionCount);
}

void commitKeyword(PosExtendedSettings& s, int keyword, const std::string& text, int actionPosition) {
    if (!isKeyword(keyword)) return;
    s.KeywordLength[keyword] = static_cast<int>(text.size());
    s.Keyword[keyword] = text;
    s.KeywordAction[keyword] = std::max(listPosition(actionPosition, KeywordActionCount), 0);
}

bool switchKeyword(PosExtendedSettings& s, int& currentKeyword, int pressed,
                   const std::string& shownText, int shownAction) {
    if (!isKeyword(pressed) || pressed == currentKeyword) return false;
    commitKeyword(s, currentKeyword, shownText, shownAction);
    currentKeyword = pressed;
    return true;
}

void acceptPosExtended(PosExtendedSettings& s, const PosExtendedEntry& typed, int shownKeyword,
                       const std::string& shownText, int shownAction) {
    s.LimitTo40 = typed.limitTo40 ? 1 : 0;
    s.StartDefinitionLength = static_cast<int>(typed.startDefinition.size());
    s.StartDefinition = typed.startDefinition;
    s.ShowHeader = typed.showHeader ? 1 : 0;
    s.EndDefinitionLength = static_cast<int>(typed.endDefinition.size());
    s.EndDefinition = typed.endDefinition;
    s.MaxSpaces = readMaxSpaces(typed.maxSpaces);
    s.SkipMode = typed.skipMode ? 1 : 0;
    commitKeyword(s, shownKeyword, shownText, shownAction);
}

}  // namespace vem
