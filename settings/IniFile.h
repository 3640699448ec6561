// Per-key access to one private-profile (INI) file. Every read and every write goes straight
// to the file: nothing is cached and nothing needs flushing. Values are UTF-8 here and
// code-page-936 bytes in the file.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

  const std::string& FileName() const { return fileName_; }

  // A missing file, section or key gives `defaultValue`.
  std::string ReadString(std::string_view section, std::string_view key,
                         const std::string& defaultValue) const;
  // Decimal, or hexadecimal after "0x"; anything else gives `defaultValue`.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // An integer, any non-zero value being true; a non-number gives `defaultValue`.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Each write replaces the file with the key set; the file's folder is made when missing.
  // The file is private to its owner (mode 0600 on POSIX). Throws ESettingsWrite.
  void WriteString(std::string_view section, std::string_view key, const std::string& value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // "1" or "0".
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // The date in the user's short date format.
  void WriteDate(std::string_view section, std::string_view key, const platform::LocalTime& date);

 private:
  std::string fileName_;
};

// The integer of a profile value: optional sign, then decimal digits or "0x" and hexadecimal
// digits (up to 32 bits, as the profile functions read them); `defaultValue` for any other
// text and for decimal numbers outside the int range.
int ParseProfileInteger(std::string_view text, int defaultValue);
