// The client's settings file config.ini and its two sections.
#pragma once

#include <string>

inline constexpr const char* kSectionKorvane = "KORVANE";
inline constexpr const char* kSectionGrid = "GRID";

// The settings folder of the platform layer followed by "config.ini": the Windows directory
// on Windows, $XDG_CONFIG_HOME/KorvaneVandrel/ on Linux.
std::string SettingsFilePath();
