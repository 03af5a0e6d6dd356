#pragma once
#include "CommandTable.h"

namespace vem::cli {

// `vemctl station P.qor`: waits for devices in the watched folder and programs and verifies each
// as it arrives, several at once, until Ctrl+C, SIGTERM or --count finished devices. One line (or
// with --json one JSON object) per event; exit 1 when any device's last attempt did not pass.
int station(const Request& request, Context& context);

}  // namespace vem::cli
