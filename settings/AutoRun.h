// Starting the client with the user's session: the value VandrelClient under the local
// machine's Run key on Windows, the XDG autostart entry VandrelClient.desktop on Linux.
#pragma once

#include <string>

inline constexpr const char* kAutoRunName = "VandrelClient";

// remove false: registers `executablePath` (the full path, no quotes, no arguments) to start
// with the session; a registration that cannot be written throws ESettingsWrite.
// remove true: deletes the registration; one that is missing or cannot be deleted is left.
void SetAutoRun(const std::string& executablePath, bool remove);
