// The desktop session on Linux: XDG folders, xdg-open and the LC_TIME date format.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

std::string WithTrailingSeparator(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

// The folder named by an XDG variable when it holds an absolute path.
std::string AbsoluteFolderFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return {};
  return WithTrailingSeparator(value);
}

// The value of an XDG_..._DIR line of user-dirs.dirs: "$HOME/path" or "/absolute/path" in
// double quotes. Empty when the line is not of that form.
std::string UserDirsValue(const std::string& line, const std::string& key) {
  std::size_t pos = line.find_first_not_of(" \t");
  if (pos == std::string::npos || line.compare(pos, key.size(), key) != 0) return {};
  pos += key.size();
  if (line.compare(pos, 2, "=\"") != 0) return {};
  pos += 2;
  const std::size_t end = line.find('"', pos);
  if (end == std::string::npos) return {};
  std::string value = line.substr(pos, end - pos);
  if (value.rfind("$HOME", 0) == 0) value = HomeDirectory() + value.substr(5);
  return value.empty() || value[0] != '/' ? std::string() : value;
}

std::string DesktopFromUserDirs() {
  std::ifstream file(UserConfigDirectory() + "user-dirs.dirs");
  std::string line;
  while (std::getline(file, line)) {
    std::string value = UserDirsValue(line, "XDG_DESKTOP_DIR");
    if (!value.empty()) return WithTrailingSeparator(value);
  }
  return {};
}

// The first ASCII punctuation of a strftime format outside its conversions.
char FirstSeparatorOf(const char* format) {
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p == '%') {
      // Skip the conversion with its flags and modifiers (%-d, %Ey, %Od).
      while (p[1] == '-' || p[1] == '_' || p[1] == '0' || p[1] == '^' || p[1] == '#' ||
             p[1] == 'E' || p[1] == 'O')
        ++p;
      if (p[1] != '\0') ++p;
      continue;
    }
    if (*p == '/' || *p == '-' || *p == '.') return *p;
  }
  return '-';
}

}  // namespace

std::string UserConfigDirectory() {
  std::string folder = AbsoluteFolderFromEnvironment("XDG_CONFIG_HOME");
  return folder.empty() ? WithTrailingSeparator(HomeDirectory()) + ".config/" : folder;
}

std::string SettingsDirectory() { return UserConfigDirectory() + "KorvaneVandrel/"; }

std::string DesktopDirectory() {
  std::string folder = AbsoluteFolderFromEnvironment("XDG_DESKTOP_DIR");
  if (folder.empty()) folder = DesktopFromUserDirs();
  return folder.empty() ? WithTrailingSeparator(HomeDirectory()) + "Desktop/" : folder;
}

bool OpenUrl(const std::string& url) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string program = "xdg-open";
  std::string argument = url;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  // The handler may keep running as long as the browser does; reap it off the caller's thread.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

char DateSeparator() {
  locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr))
    locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
  const char separator = FirstSeparatorOf(nl_langinfo_l(D_FMT, locale));
  freelocale(locale);
  return separator;
}

std::string FormatShortDate(const LocalTime& date) {
  const char separator = DateSeparator();
  char text[32];
  std::snprintf(text, sizeof text, "%04d%c%02d%c%02d", date.year, separator, date.month,
                separator, date.day);
  return text;
}

}  // namespace platform
