#include "settings/SettingsCheck.h"

#include <limits>

#include "model/DeviceImage.h"
#include "settings/InterfaceRules.h"
#include "settings/PosRules.h"

namespace vem {
namespace {

// Collects one line per problem.
struct SettingsChecker {
    std::vector<std::string> problems;

    void range(const std::string& what, int value, int lowest, int highest) {
        if (value >= lowest && value <= highest) return;
        problems.push_back(what + " is " + std::to_string(value) + ", outside " + std::to_string(lowest) +
                           ".." + std::to_string(highest));
    }
    void listIndex(const std::string& what, int index, std::size_t count) {
        range(what, index, 0, static_cast<int>(count) - 1);
    }
    void zeroOrOne(const std::string& what, int value) {
        if (value != 0 && value != 1)
            problems.push_back(what + " is " + std::to_string(value) + ", not 0 or 1");
    }
    void text(const std::string& what, int length, const std::string& text, std::size_t width) {
        if (length != static_cast<int>(text.size()))
            problems.push_back(what + ": length " + std::to_string(length) + " differs from its text (" +
                               std::to_string(text.size()) + " characters)");
        if (text.size() > width)
            problems.push_back(what + " has " + std::to_string(text.size()) + " characters, at most " +
                               std::to_string(width) + " fit");
    }
    void add(std::string line) { problems.push_back(std::move(line)); }
};

void checkInterfaces(const Project& p, SettingsChecker& check) {
    const DeviceSettings& d = p.device;
    check.zeroOrOne("summer time switch", p.summerTimeManual);
    check.range("data hold time", d.DataHoldSeconds, 0, LongestHoldSeconds);
    check.range("relay hold time", d.RelayHoldSeconds, 0, LongestHoldSeconds);
    check.listIndex("serial line: handshake index", d.DeviceHandshake, HandshakeNames.size());
    check.listIndex("serial line: data format index", d.DeviceDataFormat, DataFormatNames.size());
    check.listIndex("serial line: baud rate index", d.DeviceBaudIndex, BaudRateNames.size());
    for (int i = 0; i < 4; ++i)
        check.range("IP address: octet " + std::to_string(i + 1), d.IpAddress[i], 0, 255);
    const PortBytes highestPort = splitPort(std::numeric_limits<int>::max());  // what two bytes carry
    check.range("IP port", d.IpPort, 0, highestPort.high * 100 + highestPort.low);
    check.zeroOrOne("data forwarding switch", d.ForwardEnabled);
    if (d.ForwardEnabled == 1)
        check.range("data forwarding: baud digit", d.ForwardBaudDigit, BaudDigitZero,
                    BaudDigitZero + static_cast<int>(BaudRateNames.size()) - 1);
    check.range("data forwarding: code before the field", d.ForwardPrefixCode, 0, 255);
    check.range("data forwarding: code after the field", d.ForwardSuffixCode, 0, 255);
}

void checkPos(const PosSettings& s, SettingsChecker& check) {
    check.range("POS: register number", s.RegisterNumber, 0, RegisterNumberFallback - 1);
    // 0 is the program's own "none chosen" for the first line and the transparency.
    check.range("POS: first line", s.FirstLine, 0, ScreenLineCount);
    check.range("POS: line count", s.LineCount, 1, ScreenLineCount);
    if (s.FirstLine >= 1 && s.FirstLine + s.LineCount > ScreenLineCount + 1)
        check.add("POS: first line " + std::to_string(s.FirstLine) + " with " + std::to_string(s.LineCount) +
                  " lines reaches beyond line 16");
    check.listIndex("POS: scroll direction", s.ScrollDirection, ScrollDirectionCount);
    check.listIndex("POS: background", s.BackgroundMode, BackgroundModeCount);
    check.range("POS: transparency", s.Transparency, 0, TransparencyCount);
    check.listIndex("POS: text colour", s.TextColour, TextColourCount);
}

void checkPosExtended(const PosExtendedSettings& x, SettingsChecker& check) {
    check.zeroOrOne("POS extended: limit to 40 characters", x.LimitTo40);
    check.zeroOrOne("POS extended: show header", x.ShowHeader);
    check.zeroOrOne("POS extended: skip mode", x.SkipMode);
    check.text("POS extended: start definition", x.StartDefinitionLength, x.StartDefinition,
               MainAt::DefinitionWidth);
    check.text("POS extended: end definition", x.EndDefinitionLength, x.EndDefinition,
               MainAt::DefinitionWidth);
    for (int k = 0; k < KeywordCount; ++k) {
        const std::string keyword = "POS extended: keyword " + std::to_string(k + 1);
        check.text(keyword, x.KeywordLength[k], x.Keyword[k], MainAt::KeywordWidth);
        check.listIndex(keyword + " action", x.KeywordAction[k], KeywordActionCount);
    }
    check.range("POS extended: most spaces", x.MaxSpaces, 0, MaxSpacesLimit);
}

}  // namespace

std::vector<std::string> settingsProblems(const Project& project, bool posExtendedSupported) {
    SettingsChecker check;
    checkInterfaces(project, check);
    checkPos(project.pos, check);
    if (posExtendedSupported) checkPosExtended(project.posExtended, check);
    return std::move(check.problems);
}

}  // namespace vem
