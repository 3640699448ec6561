// The Run value of the local machine: value VandrelClient = the executable's full path, under
// the key Software\Microsoft\Windows\CurrentVersion\Run of HKEY_LOCAL_MACHINE.
#include "settings/AutoRun.h"

#include <system_error>

#include "settings/SettingsError.h"
#include "settings/WideText_win32.h"

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string RegistryValueName() {
  return std::string("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\") +
         kAutoRunName;
}

std::string SystemMessage(LONG code) {
  return std::system_category().message(static_cast<int>(code));
}

void WriteRunValue(HKEY key, const std::string& executablePath) {
  const std::wstring name = WideFromUtf8(kAutoRunName);
  const std::wstring data = WideFromUtf8(executablePath);
  const LONG rc = RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS)
    throw ESettingsWrite("注册表值", RegistryValueName(), SystemMessage(rc));
}

}  // namespace

void SetAutoRun(const std::string& executablePath, bool remove) {
  HKEY key = nullptr;
  // The key is opened for full access and never created.
  const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &key);
  if (opened != ERROR_SUCCESS) {
    if (!remove) throw ESettingsWrite("注册表值", RegistryValueName(), SystemMessage(opened));
    return;
  }
  try {
    if (remove)
      RegDeleteValueW(key, WideFromUtf8(kAutoRunName).c_str());
    else
      WriteRunValue(key, executablePath);
  } catch (...) {
    RegCloseKey(key);
    throw;
  }
  RegCloseKey(key);
}
