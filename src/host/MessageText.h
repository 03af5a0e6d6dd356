#pragma once
#include <QString>
#include <QStringList>

#include "i18n/MessageTable.h"

namespace vem {

// The text of message `slot` with `values` in its placeholders %1, %2, ..., for a widget or a terminal.
QString messageText(const MessageTable& messages, int slot, const QStringList& values = {});

}  // namespace vem
