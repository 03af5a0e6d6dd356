#include "model/DeviceImage.h"

#include <algorithm>

#include "model/Project.h"

namespace vem {

PortBytes splitPort(int port) {
    const int p = std::clamp(port, 0, 255 * 100 + 99);
    return {static_cast<std::uint8_t>(p / 100), static_cast<std::uint8_t>(p % 100)};
}

void DeviceImage::storePortSplit(int port) {
    const PortBytes bytes = splitPort(port);
    headerArea[HeaderAt::PortHigh] = bytes.high;
    headerArea[HeaderAt::PortLow] = bytes.low;
}

void decodeFieldRecord(const std::uint8_t* record, FieldDefinition& target) {
    const std::uint8_t c = record[3];
    if (c < 0x0F) {
        target.variableType = c;
        target.enabled = 1;
    } else if (c >= 0x80 && c < 0x9F) {
        target.variableType = c - 0x80;
        target.enabled = 0;
    } else if (c == 0xFF) {
        target.variableType = -1;
        target.enabled = 0;
    }
    if (c < 0x9F) {
        target.length = record[0];
        target.conversion = record[1];
        target.offset = record[2];
        target.row = record[4];
        target.column = record[5];
    } else {
        target.length = 0;
        target.conversion = -1;
        target.offset = 0;
        target.row = 0;
        target.column = 0;
    }
}

}  // namespace vem
