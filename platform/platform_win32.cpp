// The platform layer on Windows: code page 936 through the system's converters, the
// executable's module path, hidden console processes and the system's time zone.
#include "platform/platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <share.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/Utf8Sequence.h"

namespace platform {

namespace {

constexpr UINT kCodePage936 = 936;
constexpr wchar_t kReplacement = L'\xFFFD';

// ---- UTF-16 helpers --------------------------------------------------------------------

void AppendUtf16(std::wstring& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<wchar_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// UTF-8 to UTF-16; an ill-formed sequence becomes `invalid`.
std::wstring Utf8ToWide(std::string_view utf8, wchar_t invalid) {
  std::wstring wide;
  wide.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const detail::Utf8Sequence seq = detail::ReadUtf8Sequence(utf8, pos);
    if (seq.valid)
      AppendUtf16(wide, seq.codePoint);
    else
      wide.push_back(invalid);
    pos += seq.length;
  }
  return wide;
}

std::string WideToCodePage(const std::wstring& wide, UINT codePage, DWORD flags,
                           const char* defaultChar) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, defaultChar, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(), size, defaultChar, nullptr);
  return out;
}

std::string WideToUtf8(const std::wstring& wide) {
  return WideToCodePage(wide, CP_UTF8, 0, nullptr);
}

std::wstring Widen(const std::string& utf8) { return Utf8ToWide(utf8, L'?'); }

// Strict conversion of code page 936 bytes; false when they are not valid code page 936.
bool Cp936ToWideStrict(const char* bytes, int length, std::wstring& out) {
  if (length == 0) return true;
  const int size =
      MultiByteToWideChar(kCodePage936, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  if (size <= 0) return false;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(size));
  MultiByteToWideChar(kCodePage936, MB_ERR_INVALID_CHARS, bytes, length, out.data() + start, size);
  return true;
}

// Bytes taken by the code page 936 character at `pos`: 2 for a lead byte with a byte after
// it, else 1.
std::size_t Cp936CharacterLength(std::string_view bytes, std::size_t pos) {
  const bool lead = IsDBCSLeadByteEx(kCodePage936, static_cast<BYTE>(bytes[pos])) != 0;
  return lead && pos + 1 < bytes.size() ? 2 : 1;
}

}  // namespace

// ---- Text ------------------------------------------------------------------------------

std::string Utf8ToCp936(std::string_view utf8) {
  // Code page 936 holds nothing outside the basic multilingual plane: such a character is
  // one "?" (not one per UTF-16 half).
  std::wstring wide;
  wide.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const detail::Utf8Sequence seq = detail::ReadUtf8Sequence(utf8, pos);
    wide.push_back(seq.valid && seq.codePoint < 0x10000 ? static_cast<wchar_t>(seq.codePoint)
                                                        : L'?');
    pos += seq.length;
  }
  return WideToCodePage(wide, kCodePage936, WC_NO_BEST_FIT_CHARS, "?");
}

std::string Cp936ToUtf8(std::string_view bytes) {
  std::wstring wide;
  if (!Cp936ToWideStrict(bytes.data(), static_cast<int>(bytes.size()), wide)) {
    wide.clear();
    for (std::size_t pos = 0; pos < bytes.size();) {
      const std::size_t length = Cp936CharacterLength(bytes, pos);
      if (Cp936ToWideStrict(bytes.data() + pos, static_cast<int>(length), wide)) {
        pos += length;
      } else {
        wide.push_back(kReplacement);
        pos += 1;
      }
    }
  }
  return WideToUtf8(wide);
}

std::size_t Cp936Length(std::string_view utf8) { return Utf8ToCp936(utf8).size(); }

// ---- Files and folders -----------------------------------------------------------------

char PathSeparator() { return '\\'; }

std::string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return WideToUtf8(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableDirectory() { return FolderOf(ExecutablePath()); }

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos) return {};
  return path.substr(0, separator + 1);
}

// The root of drive C, written with a doubled separator; Windows reads it as "C:\".
std::string DefaultLogDirectory() { return "C:\\\\"; }

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDirectories(const std::string& path) {
  if (path.empty()) return false;
  const std::wstring wide = Widen(path);
  // Every prefix that ends before a separator is a parent; failures for existing folders,
  // drives and empty parts are expected and ignored.
  for (std::size_t i = 1; i < wide.size(); ++i) {
    if (wide[i] != L'\\' && wide[i] != L'/') continue;
    const wchar_t before = wide[i - 1];
    if (before == L'\\' || before == L'/' || before == L':') continue;
    CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
  }
  CreateDirectoryW(wide.c_str(), nullptr);
  return DirectoryExists(path);
}

std::FILE* OpenAppend(const std::string& path, bool shared) {
  return _wfsopen(Widen(path).c_str(), L"ab", shared ? _SH_DENYNO : _SH_DENYRW);
}

// ---- Processes -------------------------------------------------------------------------

namespace {

constexpr std::size_t kMaxCommandLine = 255;

// The command line in the ANSI code page, at most 255 bytes, never ending in half a
// double-byte character.
std::string AnsiCommandLine(const std::string& utf8) {
  std::string line = Utf8ToCp936(utf8);
  if (line.size() <= kMaxCommandLine) return line;
  std::size_t keep = 0;
  while (keep < line.size()) {
    const std::size_t length = Cp936CharacterLength(line, keep);
    if (keep + length > kMaxCommandLine) break;
    keep += length;
  }
  line.resize(keep);
  return line;
}

}  // namespace

int RunHidden(const std::string& commandLine) {
  std::string line = AnsiCommandLine(commandLine);
  if (line.find_first_not_of(" \t") == std::string::npos) return -1;

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr,
                      nullptr, &startup, &process))
    return -1;

  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  const bool known = GetExitCodeProcess(process.hProcess, &exitCode) != 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return known ? static_cast<int>(exitCode) : -1;
}

std::string FlushDnsCommand() { return "ipconfig /flushdns"; }

// ---- Local time ------------------------------------------------------------------------

namespace {

// FILETIME counts 100-nanosecond ticks since 1601-01-01 UTC.
constexpr std::int64_t kTicksPerMillisecond = 10000;
constexpr std::int64_t kEpochTicks = 116444736000000000LL;  // 1970-01-01 in FILETIME ticks

FILETIME ToFileTime(std::chrono::system_clock::time_point when) {
  using namespace std::chrono;
  const std::int64_t millis = floor<milliseconds>(when.time_since_epoch()).count();
  const auto ticks = static_cast<std::uint64_t>(kEpochTicks + millis * kTicksPerMillisecond);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

std::chrono::system_clock::time_point FromFileTime(const FILETIME& ft) {
  const std::int64_t ticks = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
  const std::int64_t millis = (ticks - kEpochTicks) / kTicksPerMillisecond;
  return std::chrono::system_clock::time_point(std::chrono::milliseconds(millis));
}

bool SameFields(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

LocalTime ToLocalTime(std::chrono::system_clock::time_point when) {
  const FILETIME ft = ToFileTime(when);
  SYSTEMTIME utc{}, local{};
  FileTimeToSystemTime(&ft, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  LocalTime result;
  result.year = local.wYear;
  result.month = local.wMonth;
  result.day = local.wDay;
  result.hour = local.wHour;
  result.minute = local.wMinute;
  result.second = local.wSecond;
  result.millisecond = local.wMilliseconds;
  return result;
}

std::chrono::system_clock::time_point FromLocalTime(const LocalTime& local) {
  const auto invalid = std::chrono::system_clock::time_point{} - std::chrono::seconds(1);
  if (!InRange(local.year, 1601, 30827) || !InRange(local.month, 1, 12) ||
      !InRange(local.day, 1, 31) || !InRange(local.hour, 0, 23) || !InRange(local.minute, 0, 59) ||
      !InRange(local.second, 0, 59) || !InRange(local.millisecond, 0, 999))
    return invalid;
  SYSTEMTIME fields{};
  fields.wYear = static_cast<WORD>(local.year);
  fields.wMonth = static_cast<WORD>(local.month);
  fields.wDay = static_cast<WORD>(local.day);
  fields.wHour = static_cast<WORD>(local.hour);
  fields.wMinute = static_cast<WORD>(local.minute);
  fields.wSecond = static_cast<WORD>(local.second);
  fields.wMilliseconds = static_cast<WORD>(local.millisecond);

  FILETIME check;
  if (!SystemTimeToFileTime(&fields, &check)) return invalid;  // e.g. 30 February
  SYSTEMTIME utc{};
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &fields, &utc)) return invalid;
  // A time skipped by a clock change does not come back as itself.
  SYSTEMTIME back{};
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &back) || !SameFields(back, fields))
    return invalid;
  FILETIME ft;
  if (!SystemTimeToFileTime(&utc, &ft)) return invalid;
  return FromFileTime(ft);
}

}  // namespace platform
