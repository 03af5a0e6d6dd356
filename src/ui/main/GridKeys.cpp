#include "ui/main/GridKeys.h"

#include <QKeyEvent>

#include "host/Encoding.h"
#include "session/Session.h"

namespace vem {

namespace {

// A key held with Alt, Ctrl or Meta is a command (an access key, a shortcut), never a character.
// Windows reports AltGr as Ctrl+Alt: that still types.
bool isCommandKey(Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
#ifdef Q_OS_WIN
    if (held == (Qt::AltModifier | Qt::ControlModifier)) return false;
#endif
    return held != Qt::NoModifier;
}

}  // namespace

std::optional<Outcome> pressGridKey(Session& session, const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Up: return session.document().keyDown(EditorKey::Up);
    case Qt::Key_Down: return session.document().keyDown(EditorKey::Down);
    case Qt::Key_Left: return session.document().keyDown(EditorKey::Left);
    case Qt::Key_Right: return session.document().keyDown(EditorKey::Right);
    case Qt::Key_Backspace: return session.document().keyDown(EditorKey::Backspace);
    default: break;
    }
    if (event.text().size() != 1 || isCommandKey(event.modifiers())) return std::nullopt;
    // Only characters with a Windows-1252 code can reach a cell; the session refuses the rest.
    if (const auto byte = cp1252Byte(event.text().at(0))) return session.document().keyPress(*byte);
    return std::nullopt;
}

}  // namespace vem
