// The autostart entry of the XDG desktops: $XDG_CONFIG_HOME/autostart/VandrelClient.desktop.
#include "settings/AutoRun.h"

#include <filesystem>
#include <system_error>

#include "platform/platform.h"
#include "settings/DesktopEntry.h"
#include "settings/FileContents.h"
#include "settings/SettingsError.h"

namespace fs = std::filesystem;

namespace {

std::string AutostartFolder() { return platform::UserConfigDirectory() + "autostart/"; }

void WriteAutostartEntry(const std::string& executablePath) {
  const std::string folder = AutostartFolder();
  const std::string path = folder + kAutoRunName + ".desktop";
  if (!platform::CreateDirectories(folder))
    throw FileWriteError(path, "无法创建文件夹 " + folder);
  const DesktopEntry entry{kAutoRunName, executablePath, platform::FolderOf(executablePath)};
  ReplaceFile(path, DesktopEntryText(entry),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

}  // namespace

void SetAutoRun(const std::string& executablePath, bool remove) {
  if (!remove) {
    WriteAutostartEntry(executablePath);
    return;
  }
  std::error_code ignored;
  fs::remove(fs::path(AutostartFolder() + kAutoRunName + ".desktop"), ignored);
}
