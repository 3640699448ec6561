#include "windows/login/KeyFilter.h"

#include <QKeyEvent>

namespace login {

QString TypedCharacter(const QKeyEvent& event) {
  const int key = event.key();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A &&
      key <= Qt::Key_Z)
    return QString(QChar(key - Qt::Key_A + 1));
  switch (key) {
    case Qt::Key_Backspace:
      return QString(QChar(8));
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return QString(QChar(13));
    case Qt::Key_Escape:
      return QString(QChar(27));
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return QString();
    default:
      break;
  }
  const QString text = event.text();
  // Keys that type nothing printable (arrows, Home, function keys) are no characters.
  if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F)
    return QString();
  return text;
}

bool IsEditingKey(const QString& character) {
  if (character.size() != 1) return false;
  const char16_t c = character.at(0).unicode();
  return c == 3 || c == 8 || c == 22 || c == 24;
}

}  // namespace login
