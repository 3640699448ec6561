#include "settings/DesktopEntry.h"

std::string EscapeEntryString(const std::string& value) {
  std::string escaped;
  for (const char c : value) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\t': escaped += "\\t"; break;
      case '\r': escaped += "\\r"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string ExecValue(const std::string& program) {
  std::string quoted = "\"";
  for (const char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EscapeEntryString(quoted);
}

std::string DesktopEntryText(const DesktopEntry& entry) {
  std::string text = "[Desktop Entry]\nType=Application\n";
  text += "Name=" + EscapeEntryString(entry.name) + "\n";
  text += "Exec=" + ExecValue(entry.program) + "\n";
  if (!entry.workingDirectory.empty())
    text += "Path=" + EscapeEntryString(entry.workingDirectory) + "\n";
  text += "Terminal=false\n";
  return text;
}
