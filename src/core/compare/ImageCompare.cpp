#include "compare/ImageCompare.h"

#include <cstdio>

namespace vem {
namespace {

bool isProjectIdentity(std::size_t offset) {
    return (offset >= HeaderAt::ProgramDay && offset <= HeaderAt::ProgramMinute) ||
           (offset >= HeaderAt::ProjectName && offset < HeaderAt::ProjectName + HeaderAt::ProjectNameMax);
}

std::string hexByte(std::uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(b));
    return text;
}

}  // namespace

std::vector<AreaDifference> compareImages(const DeviceImage& expected, const DeviceImage& found,
                                          bool ignoreProjectIdentity) {
    const auto want = imageAreas(expected);
    const auto got = imageAreas(found);
    std::vector<AreaDifference> differences;
    for (std::size_t a = 0; a < want.size(); ++a) {
        const bool header = want[a].bytes.data() == expected.headerArea.data();
        AreaDifference d{want[a].name};
        for (std::size_t i = 0; i < want[a].bytes.size(); ++i) {
            if (want[a].bytes[i] == got[a].bytes[i]) continue;
            if (header && ignoreProjectIdentity && isProjectIdentity(i)) continue;
            if (d.differing++ > 0) continue;
            d.firstOffset = i;
            d.expected = want[a].bytes[i];
            d.found = got[a].bytes[i];
        }
        if (d.differing > 0) differences.push_back(d);
    }
    return differences;
}

std::string differenceLine(const AreaDifference& difference, const MessageTable& messages) {
    char offset[48];
    std::snprintf(offset, sizeof offset, "%zu (0x%04zx)", difference.firstOffset, difference.firstOffset);
    return fillPlaceholders(messages.text(Msg::VerifyDetail),
                            {difference.area, offset, hexByte(difference.expected), hexByte(difference.found)});
}

}  // namespace vem
