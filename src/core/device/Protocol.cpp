#include "device/Protocol.h"

namespace vem {

std::vector<std::uint8_t> commandWord(std::string_view word) {
    std::vector<std::uint8_t> bytes{Esc};
    bytes.insert(bytes.end(), word.begin(), word.end());
    return bytes;
}

bool isEscAck(const std::vector<std::uint8_t>& reply) {
    return reply.size() >= 2 && reply[0] == Esc && reply[1] == Ack;
}

}  // namespace vem
