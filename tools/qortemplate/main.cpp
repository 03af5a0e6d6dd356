// qortemplate: writes the sample image template and the sample project from their readable
// descriptions in data/.
//
//   qortemplate template data/default-template.txt data/default.bin
//   qortemplate project  data/default-project.txt  data/default.qor
//
// The project description names its image template, which is read relative to the current
// working folder; run it from data/ so that the project names a bare "default.bin".

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/CharCodes.h"
#include "model/Project.h"
#include "model/DeviceImage.h"
#include "files/ImageFile.h"
#include "files/ProjectFile.h"

namespace {

using namespace vem;

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "qortemplate: %s: %s\n", where.c_str(), what.c_str());
    std::exit(1);
}

struct Statement {
    std::string where;  // file:line
    std::string keyword;
    std::vector<std::string> words;
    std::string rest;  // the line after the keyword and the first `restAfter` words
};

std::vector<Statement> readStatements(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail(path, "cannot read");
    std::vector<Statement> out;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        Statement s;
        s.where = path + ":" + std::to_string(number);
        std::istringstream words(line);
        words >> s.keyword;
        for (std::string w; words >> w;) s.words.push_back(w);
        s.rest = line;
        out.push_back(std::move(s));
    }
    return out;
}

int number(const Statement& s, std::size_t i, int lo, int hi) {
    if (i >= s.words.size()) fail(s.where, "missing value " + std::to_string(i + 1));
    char* end = nullptr;
    const long v = std::strtol(s.words[i].c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi)
        fail(s.where, "value '" + s.words[i] + "' must be " + std::to_string(lo) + ".." + std::to_string(hi));
    return static_cast<int>(v);
}

// The rest of the line after the keyword and its first `skip` words.
std::string textAfter(const Statement& s, int skip) {
    std::size_t pos = s.rest.find_first_not_of(" \t");
    for (int i = 0; i <= skip; ++i) {
        pos = s.rest.find_first_of(" \t", pos);
        if (pos == std::string::npos) return {};
        pos = s.rest.find_first_not_of(" \t", pos);
        if (pos == std::string::npos) return {};
    }
    return s.rest.substr(pos);
}

void writeOut(const std::string& path, const std::string& bytes) {
    if (!writeFileReplacing(path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}))
        fail(path, "cannot write");
}

int makeTemplate(const std::string& descriptionPath, const std::string& outPath) {
    DeviceImage image;
    image.mainArea.fill(0xFF);
    image.headerArea.fill(0x00);
    image.headerArea[HeaderAt::Marker] = 'N';
    image.headerArea[HeaderAt::One] = 1;
    static const std::map<std::string, std::size_t> headerNames = {
        {"summer-time-manual", HeaderAt::SummerTimeManual}, {"handshake", HeaderAt::Handshake},
        {"data-hold", HeaderAt::DataHold},                   {"relay-hold", HeaderAt::RelayHold},
        {"data-format", HeaderAt::DataFormat},               {"baud", HeaderAt::BaudIndex},
        {"date-column", HeaderAt::DateColumn},               {"date-row", HeaderAt::DateRow},
        {"time-column", HeaderAt::TimeColumn},               {"time-row", HeaderAt::TimeRow},
        {"register", HeaderAt::RegisterNumber},              {"scroll", HeaderAt::ScrollDirection},
        {"first-line", HeaderAt::FirstLine},                 {"line-count", HeaderAt::LineCount},
        {"background", HeaderAt::BackgroundMode},            {"transparency", HeaderAt::Transparency},
        {"colour", HeaderAt::TextColour},
    };
    for (const Statement& s : readStatements(descriptionPath)) {
        if (s.keyword == "available") {
            for (int d = 0; d < DataSetCount; ++d)
                image.mainArea[MainAt::DataSetAvailable + d] = static_cast<std::uint8_t>(number(s, d, 0, 1));
        } else if (s.keyword == "pos-extended") {
            const int on = number(s, 0, 0, 1);
            if (on) std::fill_n(image.mainArea.begin() + MainAt::PosExtended, MainAt::PosExtendedSize, 0);
            image.mainArea[MainAt::PosExtendedCapability] = static_cast<std::uint8_t>(on);
        } else if (s.keyword == "forward") {
            const std::size_t at[] = {MainAt::ForwardEnabled, MainAt::ForwardBaudDigit,
                                      MainAt::ForwardPrefixCode, MainAt::ForwardSuffixCode};
            for (int i = 0; i < 4; ++i) image.mainArea[at[i]] = static_cast<std::uint8_t>(number(s, i, 0, 255));
        } else if (s.keyword == "header") {
            if (s.words.empty() || !headerNames.count(s.words[0])) fail(s.where, "unknown header value");
            image.headerArea[headerNames.at(s.words[0])] = static_cast<std::uint8_t>(number(s, 1, 0, 255));
        } else if (s.keyword == "field") {
            const int d = number(s, 0, 1, DataSetCount) - 1;
            const int i = number(s, 1, 1, DataFieldCount) - 1;
            const int type = number(s, 2, 0, 11);
            FieldRecord r = image.fieldRecord(d, i);
            r.length() = static_cast<std::uint8_t>(number(s, 3, 0, 255));
            r.conversion() = static_cast<std::uint8_t>(number(s, 4, 0, 4));
            r.offset() = static_cast<std::uint8_t>(number(s, 5, 0, 255));
            if (s.words.size() < 7 || (s.words[6] != "on" && s.words[6] != "off"))
                fail(s.where, "field needs 'on' or 'off' last");
            r.typeCode() = static_cast<std::uint8_t>(s.words[6] == "on" ? type : type + 0x80);
            r.row() = 0;
            r.column() = 0;
            r.bytes[6] = 0;
            r.bytes[7] = 0;
        } else {
            fail(s.where, "unknown statement '" + s.keyword + "'");
        }
    }
    std::string bytes(image.mainArea.begin(), image.mainArea.end());
    bytes.append(image.headerArea.begin(), image.headerArea.end());
    writeOut(outPath, bytes);
    return 0;
}

int makeProject(const std::string& descriptionPath, const std::string& outPath) {
    Project project;
    DeviceImage image;
    const auto statements = readStatements(descriptionPath);

    for (const Statement& s : statements) {
        if (s.keyword != "image") continue;
        project.imageFileName = textAfter(s, 0);
        const FileResult loaded = loadImageFile(project, image, {});
        if (!loaded.ok) fail(s.where, "cannot load image " + project.imageFileName);
    }
    if (!image.imageTemplateLoaded) fail(descriptionPath, "no 'image' statement");

    auto occupy = [&](int d, int tag, int first, int length, const Statement& s) {
        CellTags& tags = project.dataSets[d].cellTags;
        if (first < 0 || first + length > CellCount) fail(s.where, "field runs off the screen");
        for (int k = first; k < first + length; ++k) {
            if (tags[k] != 0) fail(s.where, "cell " + std::to_string(k) + " is taken");
            tags[k] = tag;
            project.screenText[k].clear();
        }
    };
    auto place = [](FieldDefinition& f, int first, int length) {
        f.enabled = 1;
        f.placed = 1;
        f.length = length;
        f.startAt(first);
    };

    for (const Statement& s : statements) {
        if (s.keyword == "image") continue;
        if (s.keyword == "text") {
            const int row = number(s, 0, 1, ScreenRows) - 1;
            const int column = number(s, 1, 1, ScreenColumns) - 1;
            const std::string text = textAfter(s, 2);
            if (column + static_cast<int>(text.size()) > ScreenColumns) fail(s.where, "text runs past the row");
            for (std::size_t i = 0; i < text.size(); ++i) {
                const auto c = static_cast<unsigned char>(text[i]);
                if (!isAllowedCellChar(c) || c == ',') fail(s.where, "character not allowed in a cell");
                project.screenText[cellIndex(row, column + static_cast<int>(i))] = cellTextForChar(c);
            }
        } else if (s.keyword == "date" || s.keyword == "time") {
            const int n = s.keyword == "date" ? DateField : TimeField;
            const int first = cellIndex(number(s, 0, 1, 11) - 1, number(s, 1, 1, 28) - 1);
            place(project.sharedField(n), first, 8);
            for (int d = 0; d < DataSetCount; ++d) occupy(d, n, first, 8, s);
        } else if (s.keyword == "field") {
            const int d = number(s, 0, 1, DataSetCount) - 1;
            const int n = number(s, 1, 1, DataFieldCount);
            FieldDefinition& f = project.dataSets[d].fields[n - 1];
            if (f.variableType != 0 && f.variableType != 1) fail(s.where, "the template has no data field there");
            const int first = cellIndex(number(s, 2, 1, ScreenRows) - 1, number(s, 3, 1, ScreenColumns) - 1);
            const int length = image.maxFieldLength(d, n);
            occupy(d, n, first, length, s);
            place(f, first, length);
            f.description = textAfter(s, 4);
        } else {
            fail(s.where, "unknown statement '" + s.keyword + "'");
        }
    }
    writeOut(outPath, writeProjectText(project));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "template") return makeTemplate(args[1], args[2]);
    if (args.size() == 3 && args[0] == "project") return makeProject(args[1], args[2]);
    std::fprintf(stderr,
                 "usage: qortemplate template <description> <image.bin>\n"
                 "       qortemplate project <description> <project.qor>\n");
    return 2;
}
