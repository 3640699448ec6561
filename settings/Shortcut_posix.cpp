// The desktop shortcut of the XDG desktops: an executable desktop entry in the desktop folder.
#include "settings/Shortcut.h"

#include <filesystem>

#include "platform/platform.h"
#include "settings/DesktopEntry.h"
#include "settings/FileContents.h"
#include "settings/SettingsError.h"

namespace fs = std::filesystem;

bool CreateShortcut(const std::string& targetPath, const std::string& linkName) {
  if (!platform::FileExists(targetPath)) return false;
  const DesktopEntry entry{linkName, targetPath, platform::FolderOf(targetPath)};
  const std::string linkPath = platform::DesktopDirectory() + linkName + ".desktop";
  // An executable lying on the desktop gets no second icon beside itself.
  if (platform::FolderOf(linkPath) == entry.workingDirectory) return false;
  try {
    ReplaceFile(linkPath, DesktopEntryText(entry),
                fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                    fs::perms::others_read | fs::perms::others_exec);
  } catch (const ESettingsWrite&) {
    return false;
  }
  return true;
}
