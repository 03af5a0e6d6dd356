#include "compare/ImageDiff.h"

#include <array>
#include <cstdio>
#include <functional>
#include <span>
#include <string_view>

#include "files/ReadBack.h"
#include "model/CharCodes.h"
#include "model/Project.h"
#include "settings/InterfaceRules.h"

namespace vem {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Shown = std::function<std::string(Bytes)>;

enum Area { Main, Header, Screen, AreaCount };

// A place of the image that the window program shows as one value.
struct Place {
    std::string group;
    std::string item;
    Area area;
    std::size_t offset;
    std::size_t size;
    Shown show;
    int dataSet = -1;  // the data set it belongs to, -1 for none
    bool programmingDate = false;
    bool identity = false;  // which project and when, not what the device shows or does
};

// Design texts of the lists whose positions the image holds (Windows-1252).
constexpr std::array<std::string_view, 12> VariableTypeNames{
    "Daten", "Datenz\xE4hler", "DD/MM/YY", "YY/MM/DD", "MM/DD/YY", "Tag",
    "Monat", "Jahr",          "HH:MM: SS", "Stunde", "Minute",   "Sekunde"};
constexpr std::array<std::string_view, 5> ConversionNames{
    "1 : 1", "Spiegeln", "ASC II -> HEX", "HEX -> ASC II (3 Ziffern)", "HEX -> ASC II (2 Ziffern)"};
constexpr std::array<std::string_view, 2> ScrollNames{"auf", "ab"};
constexpr std::array<std::string_view, 5> BackgroundNames{"Kein", "(reserviert)", "Alles", "nur Zeichen",
                                                          "nur in beschr. Zeilen"};
constexpr std::array<std::string_view, 8> ColourNames{"wei\xDF", "lichtgrau", "rot",  "gelb",
                                                      "blau",    "gr\xFCn",   "grau", "schwarz"};
constexpr std::array<std::string_view, 8> ActionNames{
    "keine", "Farbe rot", "Farbe gelb", "Farbe schwarz", "Farbe wei\xDF", "Senden", "Gro\xDF" "buchstaben",
    "Relais 3 sek."};
constexpr std::array<std::string_view, 2> SpaceModeNames{"Max-Mode", "Skip_mode"};

std::string hex(std::uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(b));
    return text;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string number(Bytes b) { return std::to_string(b[0]); }

// The entry's text, or the number where the list has no such entry.
Shown entryOf(std::span<const std::string_view> names, int shift = 0) {
    return [names, shift](Bytes b) {
        const int index = b[0] - shift;
        return index >= 0 && index < static_cast<int>(names.size()) ? std::string(names[index])
                                                                   : std::to_string(b[0]);
    };
}

std::string onOff(Bytes b) { return b[0] == 1 ? "on" : b[0] == 0 ? "off" : std::to_string(b[0]); }

std::string screenRow(Bytes b) {
    std::string text;
    for (std::uint8_t code : b) {
        const std::string cell = cellTextForDeviceCode(code);
        text += cell.empty() ? std::string(1, '\0') : cell == "&&" ? "&" : cell;
    }
    return quoted(text);
}

std::string fieldSwitch(Bytes b) {
    const std::uint8_t c = b[0];
    if (c < 0x0F) return "on";
    if (c >= 0x80 && c < 0x9F) return "off";
    return c == 0xFF ? "no field" : "code " + hex(c);
}

std::string fieldType(Bytes b) {
    const std::uint8_t c = b[0];
    if (c == 0xFF) return "none";
    if (c >= 0x0F && (c < 0x80 || c >= 0x9F)) return "code " + hex(c);
    const int type = c & 0x7F;
    return type < static_cast<int>(VariableTypeNames.size()) ? std::string(VariableTypeNames[type])
                                                             : std::to_string(type);
}

std::string conversion(Bytes b) { return b[0] == 0xFF ? "none" : entryOf(ConversionNames)(b); }

// A length byte, then up to `width` characters (a stored 0x00 stands for "~").
Shown lengthAndText(std::size_t width) {
    return [width](Bytes b) {
        const std::size_t length = std::min<std::size_t>(b[0], width);
        std::string text(b.begin() + 1, b.begin() + 1 + static_cast<std::ptrdiff_t>(length));
        for (char& c : text)
            if (c == '\0') c = '~';
        return quoted(text) + (b[0] > width ? " (length " + std::to_string(b[0]) + ")" : "");
    };
}

std::string address(Bytes b) {
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
           std::to_string(b[3]);
}

std::string port(Bytes b) { return std::to_string(b[0] * 100 + b[1]); }

std::string projectName(Bytes b) {
    DeviceImage image;
    std::copy(b.begin(), b.end(), image.headerArea.begin() + HeaderAt::ProjectName);
    return quoted(headerProjectName(image));
}

std::string programmingDate(Bytes b) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%02u  %02u:%02u", b[0], b[1], b[2], b[3], b[4]);
    return text;
}

void addDataSets(std::vector<Place>& places) {
    for (int d = 0; d < DataSetCount; ++d) {
        const std::string group = "data set " + std::to_string(d + 1);
        places.push_back({group, "available", Main, MainAt::DataSetAvailable + d, 1,
                          [](Bytes b) { return b[0] == 1 ? "yes" : b[0] == 0 ? "no" : std::to_string(b[0]); }, d});
        for (int i = 0; i < DataFieldCount; ++i) {
            const std::size_t at = FieldRecordBase + DataSetRecordStride * d + FieldRecordSize * i;
            const std::string field = "field " + std::to_string(i + 1) + " ";
            places.push_back({group, field + "switch", Main, at + 3, 1, fieldSwitch, d});
            places.push_back({group, field + "type", Main, at + 3, 1, fieldType, d});
            places.push_back({group, field + "length", Main, at + 0, 1, number, d});
            places.push_back({group, field + "offset", Main, at + 2, 1, number, d});
            places.push_back({group, field + "conversion", Main, at + 1, 1, conversion, d});
            places.push_back({group, field + "row", Main, at + 4, 1, number, d});
            places.push_back({group, field + "column", Main, at + 5, 1, number, d});
        }
    }
}

void addSettings(std::vector<Place>& places) {
    const std::vector<Place> settings{
        {"date and time", "automatische Sommer- / Winterzeit", Header, HeaderAt::SummerTimeManual, 1,
         [](Bytes b) { return b[0] == 0 ? "on" : b[0] == 1 ? "off" : std::to_string(b[0]); }},
        {"date and time", "date column", Header, HeaderAt::DateColumn, 1, number},
        {"date and time", "date row", Header, HeaderAt::DateRow, 1, number},
        {"date and time", "time column", Header, HeaderAt::TimeColumn, 1, number},
        {"date and time", "time row", Header, HeaderAt::TimeRow, 1, number},
        {"Haltezeiten", "Dateneinblendung", Header, HeaderAt::DataHold, 1, number},
        {"Haltezeiten", "Relais", Header, HeaderAt::RelayHold, 1, number},
        {"QV - Schnittstelle", "Handshake", Header, HeaderAt::Handshake, 1, entryOf(HandshakeNames)},
        {"QV - Schnittstelle", "Datenformat", Header, HeaderAt::DataFormat, 1, entryOf(DataFormatNames)},
        {"QV - Schnittstelle", "Baudrate", Header, HeaderAt::BaudIndex, 1, entryOf(BaudRateNames)},
        {"IP Adresse", "Adresse", Header, HeaderAt::IpAddress, 4, address},
        {"IP Adresse", "Port", Header, HeaderAt::PortHigh, 2, port},
        {"Daten senden", "Enable", Main, MainAt::ForwardEnabled, 1, onOff},
        {"Daten senden", "Baudrate", Main, MainAt::ForwardBaudDigit, 1, entryOf(BaudRateNames, '0')},
        {"Daten senden", "Zeichen vor Datenfeld (dez.)", Main, MainAt::ForwardPrefixCode, 1, number},
        {"Daten senden", "Zeichen nach Datenfeld (dez.)", Main, MainAt::ForwardSuffixCode, 1, number},
        {"POS", "Kassen Nr.", Header, HeaderAt::RegisterNumber, 1, number},
        {"POS", "Anfangszeile", Header, HeaderAt::FirstLine, 1, number},
        {"POS", "Anzahl Zeilen", Header, HeaderAt::LineCount, 1, number},
        {"POS", "Modus", Header, HeaderAt::ScrollDirection, 1, entryOf(ScrollNames)},
        {"POS", "Hintergrund", Header, HeaderAt::BackgroundMode, 1, entryOf(BackgroundNames)},
        {"POS", "Transparenz", Header, HeaderAt::Transparency, 1, number},
        {"POS", "Farbe", Header, HeaderAt::TextColour, 1, entryOf(ColourNames)},
    };
    places.insert(places.end(), settings.begin(), settings.end());
}

void addPosExtended(std::vector<Place>& places) {
    const std::string group = "POS Extended";
    const std::vector<Place> block{
        {group, "Extended", Main, MainAt::PosExtendedCapability, 1, onOff},
        {group, "Begrenzung auf 40 Zeichen/Zeile", Main, MainAt::LimitTo40, 1, onOff},
        {group, "Startdefinition", Main, MainAt::StartDefinitionLength, 1 + MainAt::DefinitionWidth,
         lengthAndText(MainAt::DefinitionWidth)},
        {group, "Header einblenden", Main, MainAt::ShowHeader, 1, onOff},
        {group, "Endedefinition", Main, MainAt::EndDefinitionLength, 1 + MainAt::DefinitionWidth,
         lengthAndText(MainAt::DefinitionWidth)},
        {group, "max. Anzahl (1-20)", Main, MainAt::MaxSpaces, 1, number},
        {group, "Leerzeichendefinition", Main, MainAt::SkipMode, 1, entryOf(SpaceModeNames)},
    };
    places.insert(places.end(), block.begin(), block.end());
    for (int k = 0; k < KeywordCount; ++k) {
        const std::size_t at = MainAt::Keywords + MainAt::KeywordStride * k;
        const std::string n = " " + std::to_string(k + 1);
        places.push_back({group, "Schl\xFCsselwort" + n, Main, at, 1 + MainAt::KeywordWidth,
                          lengthAndText(MainAt::KeywordWidth)});
        places.push_back({group, "Aktion" + n, Main, at + MainAt::KeywordStride - 1, 1, entryOf(ActionNames)});
    }
}

const std::vector<Place>& places() {
    static const std::vector<Place> all = [] {
        std::vector<Place> list;
        for (int row = 0; row < ScreenRows; ++row)
            list.push_back({"background text", "row " + std::to_string(row + 1), Screen,
                            static_cast<std::size_t>(row * ScreenColumns), ScreenColumns, screenRow});
        addDataSets(list);
        addSettings(list);
        addPosExtended(list);
        list.push_back(
            {"project", "name", Header, HeaderAt::ProjectName, HeaderAt::ProjectNameMax, projectName, -1, false, true});
        list.push_back(
            {"project", "programming date", Header, HeaderAt::ProgramDay, 5, programmingDate, -1, true, true});
        return list;
    }();
    return all;
}

std::array<Bytes, AreaCount> areasOf(const DeviceImage& image) {
    return {image.mainArea, image.headerArea, image.screenArea};
}

constexpr std::array<const char*, AreaCount> AreaNames{"main area", "header area", "screen area"};

// The bytes that differ where no line accounts for them, one line per area.
void addOtherBytes(const DeviceImage& first, const DeviceImage& second,
                   const std::array<std::vector<bool>, AreaCount>& accounted, std::vector<Difference>& out) {
    const auto a = areasOf(first);
    const auto b = areasOf(second);
    for (int area = 0; area < AreaCount; ++area) {
        std::size_t count = 0, at = 0;
        for (std::size_t i = 0; i < a[area].size(); ++i) {
            if (a[area][i] == b[area][i] || accounted[area][i]) continue;
            if (count++ == 0) at = i;
        }
        if (count == 0) continue;
        char offset[16];
        std::snprintf(offset, sizeof offset, "0x%04zX", at);
        out.push_back({"other bytes",
                       std::string(AreaNames[area]) + ", " + std::to_string(count) + " bytes, first at " + offset,
                       hex(a[area][at]), hex(b[area][at])});
    }
}

}  // namespace

std::vector<Difference> diffImages(const DiffSide& first, const DiffSide& second, std::optional<int> dataSet) {
    const auto a = areasOf(first.image);
    const auto b = areasOf(second.image);
    std::array<std::vector<bool>, AreaCount> accounted;
    for (int area = 0; area < AreaCount; ++area) accounted[area].assign(a[area].size(), false);
    auto account = [&](const Place& p) { std::fill_n(accounted[p.area].begin() + p.offset, p.size, true); };

    std::vector<Difference> out;
    for (const Place& p : places()) {
        const bool otherDataSet = p.dataSet >= 0 && dataSet && *dataSet != p.dataSet;
        const bool undated = p.programmingDate && !first.programmed && !second.programmed;
        if (otherDataSet || undated) {
            account(p);
            continue;
        }
        // A side without a programming date shows none, whatever its bytes hold.
        const std::string x = !p.programmingDate || first.programmed ? p.show(a[p.area].subspan(p.offset, p.size)) : "none";
        const std::string y = !p.programmingDate || second.programmed ? p.show(b[p.area].subspan(p.offset, p.size)) : "none";
        if (x == y) continue;
        // A programming date on both sides is the device's content; a date against none says only when.
        const bool note = p.identity && !(p.programmingDate && first.programmed && second.programmed);
        out.push_back({p.group, p.item, x, y, note});
        account(p);
    }
    addOtherBytes(first.image, second.image, accounted, out);
    return out;
}

}  // namespace vem
