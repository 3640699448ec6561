// The desktop shortcut on Windows: a shell link saved through COM.
#include "settings/Shortcut.h"

#include "platform/platform.h"
#include "settings/WideText_win32.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

// The shell-link data flag that runs the target as administrator.
constexpr DWORD kRunAsUser = 0x2000;

// Releases a COM interface at the end of the scope.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_ != nullptr) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  void** putVoid() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// The process keeps COM initialised for its GUI thread; this balances a call made here.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

DWORD OsMajorVersion() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
  if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return 0;
  return info.dwMajorVersion;
}

void AddRunAsFlag(IShellLinkW* link) {
  ComRef<IShellLinkDataList> data;
  if (FAILED(link->QueryInterface(IID_IShellLinkDataList, data.putVoid()))) return;
  DWORD flags = 0;
  if (SUCCEEDED(data->GetFlags(&flags))) data->SetFlags(flags | kRunAsUser);
}

std::string DesktopFolder() {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOP, FALSE)) return {};
  return Utf8FromWide(path);
}

}  // namespace

bool CreateShortcut(const std::string& targetPath, const std::string& linkName) {
  if (!platform::FileExists(targetPath)) return false;
  const ComApartment apartment;
  ComRef<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.putVoid())))
    return false;
  const std::string workingDirectory = platform::FolderOf(targetPath);
  link->SetPath(WideFromUtf8(targetPath).c_str());
  link->SetWorkingDirectory(WideFromUtf8(workingDirectory).c_str());
  if (OsMajorVersion() > 5) AddRunAsFlag(link.get());

  const std::string linkPath = DesktopFolder() + "\\" + linkName + ".lnk";
  // An executable lying on the desktop gets no second icon beside itself.
  if (platform::FolderOf(linkPath) == workingDirectory) return false;

  ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
  return SUCCEEDED(file->Save(WideFromUtf8(linkPath).c_str(), TRUE));
}
