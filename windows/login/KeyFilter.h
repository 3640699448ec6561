// What the registration window's key filters judge: the character a key press types, each
// character on its own, as the key-press handlers of the system receive it.
#pragma once

#include <QString>

class QKeyEvent;

namespace login {

// The character a key press types: the control characters 1 to 26 for Ctrl with a letter,
// 8 for Backspace, 13 for Enter, 27 for Esc, otherwise the typed text; empty for keys that
// type nothing (arrows, Delete, Home, function keys, Tab, the modifiers themselves).
QString TypedCharacter(const QKeyEvent& event);

// Ctrl+C (3), Backspace (8), Ctrl+V (22) and Ctrl+X (24): the keys every filter lets pass.
bool IsEditingKey(const QString& character);

}  // namespace login
