#include "settings/IniFile.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>

#include "settings/FileContents.h"
#include "settings/ProfileText.h"
#include "settings/SettingsError.h"
#include "settings/Utf8Path.h"

namespace {

constexpr auto kPrivateFile = std::filesystem::perms::owner_read |
                              std::filesystem::perms::owner_write;

std::optional<std::string> ReadValue(const std::string& fileName, std::string_view section,
                                     std::string_view key) {
  const std::optional<std::string> text = ReadFileContents(fileName);
  if (!text) return std::nullopt;
  return profile::FindValue(*text, section, key);
}

bool StartsWithHexPrefix(std::string_view digits) {
  return digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
}

std::optional<std::int64_t> ParseDigits(std::string_view digits) {
  const bool hex = StartsWithHexPrefix(digits);
  if (hex) digits.remove_prefix(2);
  if (digits.empty() || digits[0] == '-' || (hex && digits.size() > 8)) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  // Eight hexadecimal digits are a 32-bit pattern: 0xFFFFFFFF reads as -1.
  if (hex) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return value;
}

}  // namespace

int ParseProfileInteger(std::string_view text, int defaultValue) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text[0] == '-' || text[0] == '+') return defaultValue;
  const std::optional<std::int64_t> magnitude = ParseDigits(text);
  if (!magnitude) return defaultValue;
  const std::int64_t value = negative ? -*magnitude : *magnitude;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return defaultValue;
  return static_cast<int>(value);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& defaultValue) const {
  const std::optional<std::string> value = ReadValue(fileName_, section, key);
  return value ? platform::Cp936ToUtf8(*value) : defaultValue;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key,
                          int defaultValue) const {
  const std::optional<std::string> value = ReadValue(fileName_, section, key);
  return value ? ParseProfileInteger(*value, defaultValue) : defaultValue;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key,
                        bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key,
                           const std::string& value) {
  const std::string folder = platform::FolderOf(fileName_);
  if (!folder.empty() && !platform::CreateDirectories(folder))
    throw FileWriteError(fileName_, "无法创建文件夹 " + folder);
  std::optional<std::string> text = ReadFileContents(fileName_);
  if (!text) {
    std::error_code error;
    if (std::filesystem::exists(PathFromUtf8(fileName_), error))
      throw FileWriteError(fileName_, "无法读取现有内容");
    text.emplace();
  }
  ReplaceFile(fileName_, profile::WithValue(*text, section, key, platform::Utf8ToCp936(value)),
              kPrivateFile);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteDate(std::string_view section, std::string_view key,
                         const platform::LocalTime& date) {
  WriteString(section, key, platform::FormatShortDate(date));
}
