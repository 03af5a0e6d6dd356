#pragma once
#include <optional>

#include "session/Outcome.h"

class QKeyEvent;

namespace vem {

class Session;

// A key pressed for the screen grid, given to the session: the arrows and backspace move the
// cursor, a character with a Windows-1252 code is typed. Nothing for any other key, nor for a
// key held with a command modifier.
std::optional<Outcome> pressGridKey(Session& session, const QKeyEvent& event);

}  // namespace vem
