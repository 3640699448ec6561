// XDG desktop entries that start one program: the autostart entry and the desktop shortcut.
#pragma once

#include <string>

struct DesktopEntry {
  std::string name;              // Name=
  std::string program;           // the one word of Exec=, a full path
  std::string workingDirectory;  // Path=, left out when empty
};

// The entry's text, UTF-8, lines ending in LF.
std::string DesktopEntryText(const DesktopEntry& entry);

// The program as an Exec= value: in double quotes with ", `, $ and \ escaped by a backslash and
// % doubled, then every backslash doubled as for any string value of a desktop entry.
std::string ExecValue(const std::string& program);

// A string value: backslash, newline, tab and carriage return escaped.
std::string EscapeEntryString(const std::string& value);
