// A fresh HOME for one test: XDG_CONFIG_HOME inside it, no XDG_DESKTOP_DIR, so every settings
// file, autostart entry and shortcut of the test lands in a folder of its own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

namespace testsupport {

// An environment variable put back as it was when the scope ends.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  ~SavedVariable() {
    if (value_)
      setenv(name_, value_->c_str(), 1);
    else
      unsetenv(name_);
  }
  SavedVariable(const SavedVariable&) = delete;
  SavedVariable& operator=(const SavedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> value_;
};

class TempHome {
 public:
  TempHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vandrel-home-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    home_ = pattern + "/";
    setenv("HOME", pattern.c_str(), 1);
    setenv("XDG_CONFIG_HOME", configHome().c_str(), 1);
    unsetenv("XDG_DESKTOP_DIR");
  }
  ~TempHome() {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
  }
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  // The home folder, ending in "/".
  const std::string& home() const { return home_; }
  std::string configHome() const { return home_ + ".config/"; }
  std::string settingsFile() const { return configHome() + "KorvaneVandrel/config.ini"; }
  std::string desktop() const { return home_ + "Desktop/"; }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }

 private:
  SavedVariable home_variable_{"HOME"};
  SavedVariable config_variable_{"XDG_CONFIG_HOME"};
  SavedVariable desktop_variable_{"XDG_DESKTOP_DIR"};
  std::string home_;
};

}  // namespace testsupport
