#pragma once
#include <span>

#include "model/Project.h"

namespace vem {

// The lines of the project file, in order: each call of `lines` is one line, with the members it
// holds and how they are stored. The reader and the writer both walk it. P is Project when reading and
// const Project when writing; `lines` is the reader or the writer and offers:
//   image(name, readoutInstead)    line 1, the image file's name
//   cells(row)                     one screen row: the 40 cell texts joined by ","
//   numbers(count, item, firstRead) numbers joined by ","; items before firstRead are written
//                                  only (the image supplies them when a project is opened)
//   number(member)                 one number; a one-byte member keeps the low 8 bits read
//   text(member)                   one text, the whole line
//   address(octets)                four numbers joined by "."

// firstRead of a list whose values for fields 1..16 the image supplies: of such a list only the
// date and time items are read.
inline constexpr int AfterDataFields = DataFieldCount;

// The 25 lines of one data set's block (lines 22..121 hold the four blocks).
template <class Fields, class Lines>
void fieldBlockLines(Fields& f, Lines& lines) {
    lines.numbers(FieldCount, [&](int i) -> auto& { return f[i].enabled; });
    lines.numbers(FieldCount, [&](int i) -> auto& { return f[i].placed; });
    lines.numbers(FieldCount, [&](int i) -> auto& { return f[i].length; });
    lines.numbers(DataFieldCount, [&](int i) -> auto& { return f[i].offset; }, AfterDataFields);
    lines.numbers(DataFieldCount, [&](int i) -> auto& { return f[i].conversion; }, AfterDataFields);
    lines.numbers(FieldCount, [&](int i) -> auto& { return f[i].variableType; }, AfterDataFields);
    lines.numbers(FieldCount, [&](int i) -> auto& { return f[i].column; });
    lines.numbers(FieldCount, [&](int i) -> auto& { return f[i].row; });
    lines.numbers(FieldCount, [&](int i) -> auto& { return f[i].position; });
    for (int i = 0; i < DataFieldCount; ++i) lines.text(f[i].description);
}

// Lines 122..162: the clock option, the device's interfaces, the POS settings.
template <class P, class Lines>
void settingsLines(P& p, Lines& lines) {
    auto& d = p.device;
    lines.number(p.summerTimeManual);
    for (auto* value : {&d.DataHoldSeconds, &d.RelayHoldSeconds, &d.DeviceHandshake, &d.DeviceDataFormat,
                        &d.DeviceBaudIndex})
        lines.number(*value);
    lines.address(d.IpAddress);
    for (auto* value : {&d.IpPort, &p.spareValue1, &p.spareValue2}) lines.number(*value);
    auto& pos = p.pos;
    for (auto* value : {&pos.RegisterNumber, &pos.FirstLine, &pos.LineCount, &pos.ScrollDirection,
                        &pos.BackgroundMode, &pos.Transparency, &pos.TextColour})
        lines.number(*value);
    for (auto* value : {&d.ForwardEnabled, &d.ForwardBaudDigit, &d.ForwardPrefixCode, &d.ForwardSuffixCode})
        lines.number(*value);
    auto& x = p.posExtended;
    lines.number(x.LimitTo40);
    lines.number(x.StartDefinitionLength);
    lines.text(x.StartDefinition);
    lines.number(x.ShowHeader);
    lines.number(x.EndDefinitionLength);
    lines.text(x.EndDefinition);
    lines.numbers(KeywordCount, [&](int k) -> auto& { return x.KeywordLength[k]; });
    for (auto& keyword : x.Keyword) lines.text(keyword);
    lines.numbers(KeywordCount, [&](int k) -> auto& { return x.KeywordAction[k]; });
    lines.number(x.MaxSpaces);
    lines.number(x.SkipMode);
}

// All 162 lines: the image name, the 16 screen rows, the cell tags of the four data sets, their
// field blocks, the settings.
template <class P, class Lines>
void projectFileLines(P& p, Lines& lines) {
    lines.image(p.imageFileName);
    for (int r = 0; r < ScreenRows; ++r)
        lines.cells(std::span(p.screenText).subspan(cellIndex(r, 0), ScreenColumns));
    for (auto& set : p.dataSets) lines.numbers(CellCount, [&](int k) -> auto& { return set.cellTags[k]; });
    for (auto& set : p.dataSets) fieldBlockLines(set.fields, lines);
    settingsLines(p, lines);
}

}  // namespace vem
