#pragma once
#include <string>
#include <vector>

#include "i18n/MessageTable.h"
#include "model/Project.h"

namespace vem {

// Settings of `project` the device cannot hold as the window shows them; one message each.
// Reported: switches (summer time, forwarding, the POS extended flags) other than 0 and 1; hold
// times and IP octets outside a byte; a port the two port bytes cannot carry; serial line
// indexes outside their lists; forwarding codes outside a byte and, with forwarding on, a baud
// digit naming no rate; POS values the POS dialog would not accept (first line and transparency
// may be 0, "none chosen"). The POS extended settings only when `posExtendedSupported`: lengths
// that differ from their texts, texts longer than the device's fields, keyword actions outside
// the list, the most spaces outside 0..20.
std::vector<SlotMessage> settingsProblems(const Project& project, bool posExtendedSupported);

}  // namespace vem
