#pragma once
#include <string_view>

namespace vem {

// Reads a number the operator typed: optional leading blanks, an optional sign and decimal
// digits, nothing after them. Any other text, and a number beyond 32 bits, gives `fallback`.
int readNumber(std::string_view text, int fallback);

}  // namespace vem
