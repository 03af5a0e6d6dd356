#include "settings/SettingsCheck.h"

#include <limits>

#include "model/DeviceImage.h"
#include "settings/InterfaceRules.h"
#include "settings/PosRules.h"

namespace vem {
namespace {

// Collects one message per problem; `what` names the setting.
struct SettingsChecker {
    std::vector<SlotMessage> problems;

    void range(const SlotMessage& what, int value, int lowest, int highest) {
        if (value >= lowest && value <= highest) return;
        problems.push_back({Msg::ProblemOutsideRange,
                            {what, std::to_string(value), std::to_string(lowest), std::to_string(highest)}});
    }
    void listIndex(const SlotMessage& what, int index, std::size_t count) {
        range(what, index, 0, static_cast<int>(count) - 1);
    }
    void zeroOrOne(const SlotMessage& what, int value) {
        if (value != 0 && value != 1) problems.push_back({Msg::ProblemNotZeroOrOne, {what, std::to_string(value)}});
    }
    void text(const SlotMessage& what, int length, const std::string& text, std::size_t width) {
        if (length != static_cast<int>(text.size()))
            problems.push_back({Msg::ProblemLengthNotText, {what, std::to_string(length), std::to_string(text.size())}});
        if (text.size() > width)
            problems.push_back({Msg::ProblemTextTooLong, {what, std::to_string(text.size()), std::to_string(width)}});
    }
    void add(SlotMessage problem) { problems.push_back(std::move(problem)); }
};

void checkInterfaces(const Project& p, SettingsChecker& check) {
    const DeviceSettings& d = p.device;
    check.zeroOrOne({Msg::NameSummerTime, {}}, p.summerTimeManual);
    check.range({Msg::NameDataHoldTime, {}}, d.DataHoldSeconds, 0, LongestHoldSeconds);
    check.range({Msg::NameRelayHoldTime, {}}, d.RelayHoldSeconds, 0, LongestHoldSeconds);
    check.listIndex({Msg::NameHandshake, {}}, d.DeviceHandshake, HandshakeNames.size());
    check.listIndex({Msg::NameDataFormat, {}}, d.DeviceDataFormat, DataFormatNames.size());
    check.listIndex({Msg::NameBaudRate, {}}, d.DeviceBaudIndex, BaudRateNames.size());
    for (int i = 0; i < 4; ++i)
        check.range({Msg::NameIpOctet, {std::to_string(i + 1)}}, d.IpAddress[i], 0, 255);
    const PortBytes highestPort = splitPort(std::numeric_limits<int>::max());  // what two bytes carry
    check.range({Msg::NameIpPort, {}}, d.IpPort, 0, highestPort.high * 100 + highestPort.low);
    check.zeroOrOne({Msg::NameForwarding, {}}, d.ForwardEnabled);
    if (d.ForwardEnabled == 1)
        check.range({Msg::NameForwardBaud, {}}, d.ForwardBaudDigit, BaudDigitZero,
                    BaudDigitZero + static_cast<int>(BaudRateNames.size()) - 1);
    check.range({Msg::NameForwardPrefix, {}}, d.ForwardPrefixCode, 0, 255);
    check.range({Msg::NameForwardSuffix, {}}, d.ForwardSuffixCode, 0, 255);
}

void checkPos(const PosSettings& s, SettingsChecker& check) {
    check.range({Msg::NamePosRegister, {}}, s.RegisterNumber, 0, RegisterNumberFallback - 1);
    // 0 is the program's own "none chosen" for the first line and the transparency.
    check.range({Msg::NamePosFirstLine, {}}, s.FirstLine, 0, ScreenLineCount);
    check.range({Msg::NamePosLineCount, {}}, s.LineCount, 1, ScreenLineCount);
    if (s.FirstLine >= 1 && s.FirstLine + s.LineCount > ScreenLineCount + 1)
        check.add({Msg::ProblemPosLinesBeyond, {std::to_string(s.FirstLine), std::to_string(s.LineCount)}});
    check.listIndex({Msg::NamePosScroll, {}}, s.ScrollDirection, ScrollDirectionCount);
    check.listIndex({Msg::NamePosBackground, {}}, s.BackgroundMode, BackgroundModeCount);
    check.range({Msg::NamePosTransparency, {}}, s.Transparency, 0, TransparencyCount);
    check.listIndex({Msg::NamePosTextColour, {}}, s.TextColour, TextColourCount);
}

void checkPosExtended(const PosExtendedSettings& x, SettingsChecker& check) {
    check.zeroOrOne({Msg::NameLimitTo40, {}}, x.LimitTo40);
    check.zeroOrOne({Msg::NameShowHeader, {}}, x.ShowHeader);
    check.zeroOrOne({Msg::NameSkipMode, {}}, x.SkipMode);
    check.text({Msg::NameStartDefinition, {}}, x.StartDefinitionLength, x.StartDefinition,
               MainAt::DefinitionWidth);
    check.text({Msg::NameEndDefinition, {}}, x.EndDefinitionLength, x.EndDefinition,
               MainAt::DefinitionWidth);
    for (int k = 0; k < KeywordCount; ++k) {
        const std::string number = std::to_string(k + 1);
        check.text({Msg::NameKeyword, {number}}, x.KeywordLength[k], x.Keyword[k], MainAt::KeywordWidth);
        check.listIndex({Msg::NameKeywordAction, {number}}, x.KeywordAction[k], KeywordActionCount);
    }
    check.range({Msg::NameMostSpaces, {}}, x.MaxSpaces, 0, MaxSpacesLimit);
}

}  // namespace

std::vector<SlotMessage> settingsProblems(const Project& project, bool posExtendedSupported) {
    SettingsChecker check;
    checkInterfaces(project, check);
    checkPos(project.pos, check);
    if (posExtendedSupported) checkPosExtended(project.posExtended, check);
    return std::move(check.problems);
}

}  // namespace vem
