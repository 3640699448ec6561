// Shared pieces of the sign-in window tests: programs that stand in for the browser handler
// and the DNS flush and record how they were called, and the settings file's bytes.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TempHome.h"
#include "platform/platform.h"

namespace logintest {

inline std::string Home() { return std::string(std::getenv("HOME")) + "/"; }

// Puts a program `name` at the front of PATH that appends its arguments as one line to
// HOME/<name>.calls and succeeds.
inline void InstallRecorder(const std::string& name) {
  const std::string bin = Home() + "bin/";
  std::filesystem::create_directories(bin);
  testsupport::TempHome::WriteBytes(
      bin + name, "#!/bin/sh\necho \"$*\" >> \"$HOME/" + name + ".calls\"\n");
  std::filesystem::permissions(bin + name, std::filesystem::perms::owner_all);
  const std::string path = std::getenv("PATH");
  if (path.rfind(bin, 0) != 0) setenv("PATH", (bin + ":" + path).c_str(), 1);
}

// The lines a recorder wrote so far; ForgetCalls starts afresh.
inline QStringList RecordedCalls(const std::string& name) {
  const auto bytes = testsupport::TempHome::ReadBytes(Home() + name + ".calls");
  if (!bytes) return {};
  QStringList lines = QString::fromStdString(*bytes).split(QLatin1Char('\n'));
  lines.removeAll(QString());
  return lines;
}

inline void ForgetCalls(const std::string& name) {
  std::error_code ignored;
  std::filesystem::remove(Home() + name + ".calls", ignored);
}

inline std::string SettingsFile() { return platform::SettingsDirectory() + "config.ini"; }

// The settings file's bytes, nullopt when there is none.
inline std::optional<std::string> SettingsBytes() {
  return testsupport::TempHome::ReadBytes(SettingsFile());
}

inline void WriteSettings(const std::string& bytes) {
  testsupport::TempHome::WriteBytes(SettingsFile(), bytes);
}

inline void RemoveSettings() {
  std::error_code ignored;
  std::filesystem::remove(SettingsFile(), ignored);
}

}  // namespace logintest
