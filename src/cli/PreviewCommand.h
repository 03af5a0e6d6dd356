#pragma once
#include "CommandTable.h"

namespace vem::cli {

// vemctl preview P.qor -o OUT.png: the picture the preview window shows, written as PNG.
int preview(const Request& request, Context& context);

}  // namespace vem::cli
