// The desktop shortcut to the client: a shell link "<desktop>\<name>.lnk" on Windows, an
// executable XDG desktop entry "<desktop>/<name>.desktop" on Linux.
#pragma once

#include <string>

// Creates or replaces the desktop link named `linkName` that starts `targetPath` in the
// target's folder. False, and nothing saved, when the target is no existing file, when the
// target itself lies in the desktop folder, or when the link cannot be saved.
bool CreateShortcut(const std::string& targetPath, const std::string& linkName);
