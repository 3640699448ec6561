#include "settings/ProfileText.h"

#include <vector>

namespace profile {

namespace {

// One line of the file: its bytes without the line end, and the line end itself.
struct Line {
  std::string_view content;
  std::string_view ending;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
    std::size_t end = newline == std::string_view::npos ? text.size() : newline;
    if (end > start && text[end - 1] == '\r') --end;
    lines.push_back({text.substr(start, end - start), text.substr(end, next - end)});
    start = next;
  }
  return lines;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The section name of a header line, nullopt for any other line.
std::optional<std::string_view> SectionOf(std::string_view content) {
  const std::string_view line = TrimBlanks(content);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

// The key of an entry line, nullopt for a line without "=".
std::optional<std::string_view> KeyOf(std::string_view content) {
  const std::size_t equals = content.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return TrimBlanks(content.substr(0, equals));
}

std::string_view ValueOf(std::string_view content) {
  return TrimBlanks(content.substr(content.find('=') + 1));
}

// Index of the header line of the first matching section, or lines.size().
std::size_t FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionOf(lines[i].content);
    if (name && SameName(*name, section)) return i;
  }
  return lines.size();
}

// Index of the first line after the section that starts at `header`.
std::size_t SectionEnd(const std::vector<Line>& lines, std::size_t header) {
  std::size_t i = header + 1;
  while (i < lines.size() && !SectionOf(lines[i].content)) ++i;
  return i;
}

std::size_t FindKey(const std::vector<Line>& lines, std::size_t from, std::size_t to,
                    std::string_view key) {
  for (std::size_t i = from; i < to; ++i) {
    const auto name = KeyOf(lines[i].content);
    if (name && SameName(*name, key)) return i;
  }
  return to;
}

std::string Join(const std::vector<Line>& lines) {
  std::string text;
  for (const Line& line : lines) {
    text.append(line.content);
    text.append(line.ending);
  }
  return text;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  const std::size_t header = FindSection(lines, section);
  if (header == lines.size()) return std::nullopt;
  const std::size_t end = SectionEnd(lines, header);
  const std::size_t entry = FindKey(lines, header + 1, end, key);
  if (entry == end) return std::nullopt;
  return std::string(ValueOf(lines[entry].content));
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
  static constexpr std::string_view kCrLf = "\r\n";
  const std::string entry = std::string(key) + "=" + std::string(value);
  const std::string header = "[" + std::string(section) + "]";
  std::vector<Line> lines = SplitLines(text);
  // The last line gets an end of its own before anything follows it.
  if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kCrLf;

  const std::size_t start = FindSection(lines, section);
  if (start == lines.size()) {
    lines.push_back({header, kCrLf});
    lines.push_back({entry, kCrLf});
    return Join(lines);
  }
  const std::size_t end = SectionEnd(lines, start);
  const std::size_t found = FindKey(lines, start + 1, end, key);
  if (found != end) {
    lines[found].content = entry;
  } else {
    std::size_t after = end;
    while (after > start + 1 && TrimBlanks(lines[after - 1].content).empty()) --after;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), Line{entry, kCrLf});
  }
  return Join(lines);
}

}  // namespace profile
