// The desktop session on Windows: the Windows directory, the shell's folders, the shell verb
// "open" and the user's locale.
#include "platform/platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

namespace platform {

namespace {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                       nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      size);
  return wide;
}

std::string Narrow(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(size - 1));
  return utf8;
}

std::string WithTrailingSeparator(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string ShellFolder(int folder) {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, folder, FALSE)) return {};
  return WithTrailingSeparator(Narrow(path));
}

}  // namespace

std::string UserConfigDirectory() { return ShellFolder(CSIDL_APPDATA); }

std::string SettingsDirectory() {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "C:\\Windows\\";
  return WithTrailingSeparator(Narrow(path));
}

// Special folder number 0: the desktop.
std::string DesktopDirectory() { return ShellFolder(CSIDL_DESKTOP); }

bool OpenUrl(const std::string& url) {
  const std::wstring wide = Widen(url);
  const HINSTANCE rc =
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(rc) > 32;
}

char DateSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, 8) == 0 ||
      separator[0] == L'\0' || separator[0] > 0x7F)
    return '/';
  return static_cast<char>(separator[0]);
}

std::string FormatShortDate(const LocalTime& date) {
  SYSTEMTIME when = {};
  when.wYear = static_cast<WORD>(date.year);
  when.wMonth = static_cast<WORD>(date.month);
  when.wDay = static_cast<WORD>(date.day);
  wchar_t text[64] = {};
  if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, 64) == 0)
    return {};
  return Narrow(text);
}

}  // namespace platform
