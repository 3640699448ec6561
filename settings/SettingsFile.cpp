#include "settings/SettingsFile.h"

#include "platform/platform.h"

std::string SettingsFilePath() { return platform::SettingsDirectory() + "config.ini"; }
