#include "compare/ImageCompare.h"

namespace vem {
namespace {

bool isProjectIdentity(std::size_t offset) {
    return (offset >= HeaderAt::ProgramDay && offset <= HeaderAt::ProgramMinute) ||
           (offset >= HeaderAt::ProjectName && offset < HeaderAt::ProjectName + HeaderAt::ProjectNameMax);
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

}  // namespace vem
