#include "windows/auxiliary/UpdateInfo.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "app/Version.h"

namespace {

constexpr std::string_view kUpdateSection = "update";

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<std::uint64_t> ReadNumber(std::string_view text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || at != end) return std::nullopt;
  return value;
}

// The digest in lower case; nullopt unless it is 64 hex digits.
std::optional<std::string> ReadDigest(std::string_view text) {
  if (text.size() != 64) return std::nullopt;
  std::string digest;
  for (const char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    digest += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return digest;
}

// A file section as read: either value may be missing or malformed.
struct FileFields {
  std::optional<std::uint64_t> size;
  std::optional<std::string> sha256;
};

struct Reading {
  std::string section;
  std::optional<std::string> version;
  std::vector<std::string> notes;
  std::map<std::string, FileFields> files;

  void take(std::string_view key, std::string_view value) {
    if (section == kUpdateSection) {
      if (key == "version") version = std::string(value);
      if (key == "notes") notes.emplace_back(value);
      return;
    }
    if (section.empty()) return;
    FileFields& file = files[section];
    if (key == "size") file.size = ReadNumber(value);
    if (key == "sha256") file.sha256 = ReadDigest(value);
  }

  void line(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || text.front() == ';' || text.front() == '#') return;
    if (text.front() == '[' && text.back() == ']') {
      section = std::string(TrimBlanks(text.substr(1, text.size() - 2)));
      return;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return;
    take(TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1)));
  }
};

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += "\r\n";
    joined += lines[i];
  }
  return joined;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos
                                                                    : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

}  // namespace

std::string UpdateFileName() {
#if defined(_WIN32)
  return "vandrel.exe";
#elif defined(__x86_64__)
  return "vandrel-linux-x86_64";
#elif defined(__aarch64__)
  return "vandrel-linux-aarch64";
#else
  return "vandrel-linux";
#endif
}

TUpdateInfo InfoOfThisVersion() {
  TUpdateInfo info;
  info.version = kVersionText;
  info.notes = kReleaseNotes;
  return info;
}

std::optional<TUpdateInfo> ParseUpdateInfo(std::string_view text) {
  Reading reading;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    reading.line(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  if (!reading.version || !ParseVersion(*reading.version)) return std::nullopt;
  TUpdateInfo info;
  info.version = *reading.version;
  info.notes = JoinLines(reading.notes);
  for (const auto& [name, fields] : reading.files)
    if (fields.size && fields.sha256) info.files[name] = TUpdateFile{*fields.size, *fields.sha256};
  return info;
}

std::string FormatUpdateInfo(const TUpdateInfo& info) {
  std::string text = "[update]\nversion=" + info.version + "\n";
  for (const std::string& line : SplitLines(info.notes)) text += "notes=" + line + "\n";
  for (const auto& [name, file] : info.files)
    text += "\n[" + name + "]\nsize=" + std::to_string(file.size) + "\nsha256=" + file.sha256 +
            "\n";
  return text;
}

std::optional<std::vector<std::uint64_t>> ParseVersion(std::string_view version) {
  std::vector<std::uint64_t> numbers;
  while (true) {
    const std::size_t dot = version.find('.');
    const std::string_view part = version.substr(0, dot);
    if (part.empty() || !std::all_of(part.begin(), part.end(), [](char c) {
          return c >= '0' && c <= '9';
        }))
      return std::nullopt;
    const std::optional<std::uint64_t> number = ReadNumber(part);
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (dot == std::string_view::npos) return numbers;
    version.remove_prefix(dot + 1);
  }
}

bool IsNewerVersion(std::string_view candidate, std::string_view current) {
  const auto newer = ParseVersion(candidate);
  const auto older = ParseVersion(current);
  if (!newer || !older) return false;
  const std::size_t length = std::max(newer->size(), older->size());
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint64_t a = i < newer->size() ? (*newer)[i] : 0;
    const std::uint64_t b = i < older->size() ? (*older)[i] : 0;
    if (a != b) return a > b;
  }
  return false;
}
