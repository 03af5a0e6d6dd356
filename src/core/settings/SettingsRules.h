#pragma once
#include <span>
#include <string>
#include <string_view>

#include "model/TypedNumber.h"

namespace vem {

// The list position that shows `value` in a list of `count` entries, -1 (no entry) when the
// value lies outside the list.
int listPosition(int value, int count);

// The entry of an editable list that the typed text names: the first entry equal to it,
// blanks around either side ignored; -1 when no entry matches.
int matchListEntry(std::span<const std::string> entries, std::string_view typed);

// The text of entry `index`, or an empty text when the index lies outside the list.
std::string_view listText(std::span<const std::string_view> entries, int index);

}  // namespace vem
