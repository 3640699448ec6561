// The saved sign-in settings of section KORVANE.
#pragma once

#include <string>

struct TConfig {
  std::string user;      // last account name or mobile number
  std::string password;  // saved password, or empty
  bool remember = false;   // remember the password
  bool autologin = false;  // sign in automatically
};

// The sign-in settings of this run; the login window fills it at its creation.
extern TConfig Config;

// Reads user, password, remember and autologin of section KORVANE (defaults: empty, empty,
// false, false).
TConfig loadConfig();

// Writes user, password, remember and autologin of section KORVANE, in this order, each
// straight to the file. Throws ESettingsWrite; the keys after a failed one stay unwritten.
void saveConfig(const TConfig& config);
