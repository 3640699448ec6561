// Trimming as the sign-in checks do it: every character up to U+0020 (blanks and control
// characters) goes from both ends; other white space, such as the ideographic space, stays.
#pragma once

#include <QString>

namespace login {

inline QString TrimBlanks(const QString& text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && text[start].unicode() <= 0x20) ++start;
  while (end > start && text[end - 1].unicode() <= 0x20) --end;
  return text.mid(start, end - start);
}

}  // namespace login
