#include "settings/Config.h"

#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

TConfig Config;

TConfig loadConfig() {
  const TIniFile ini(SettingsFilePath());
  TConfig config;
  config.user = ini.ReadString(kSectionKorvane, "user", "");
  config.password = ini.ReadString(kSectionKorvane, "password", "");
  config.remember = ini.ReadBool(kSectionKorvane, "remember", false);
  config.autologin = ini.ReadBool(kSectionKorvane, "autologin", false);
  return config;
}

void saveConfig(const TConfig& config) {
  TIniFile ini(SettingsFilePath());
  ini.WriteString(kSectionKorvane, "user", config.user);
  ini.WriteString(kSectionKorvane, "password", config.password);
  ini.WriteBool(kSectionKorvane, "remember", config.remember);
  ini.WriteBool(kSectionKorvane, "autologin", config.autologin);
}
