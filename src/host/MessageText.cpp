#include "host/MessageText.h"

#include <vector>

#include "host/Encoding.h"

namespace vem {

QString messageText(const MessageTable& messages, int slot, const QStringList& values) {
    std::vector<MessageValue> filled;
    for (const QString& value : values) filled.emplace_back(toCp1252(value));
    return fromCp1252(messages.text(SlotMessage{slot, filled}));
}

}  // namespace vem
