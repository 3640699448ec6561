// The failure of a write to one of the client's settings: the settings file, the start-up
// registration. It names what could not be written; nothing in the client catches it below
// the application's error report.
#pragma once

#include <stdexcept>
#include <string>

class ESettingsWrite : public std::runtime_error {
 public:
  // `target` is the file path or the registry value; `reason` the system's explanation.
  ESettingsWrite(const std::string& kind, const std::string& target, const std::string& reason)
      : std::runtime_error("无法写入" + kind + " \"" + target + "\": " + reason),
        target_(target) {}

  const std::string& target() const { return target_; }

 private:
  std::string target_;
};

// A file that cannot be written.
inline ESettingsWrite FileWriteError(const std::string& path, const std::string& reason) {
  return ESettingsWrite("文件", path, reason);
}
