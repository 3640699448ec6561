// The small layer in place of the operating system's interfaces: code-page-936 text, the
// client's folders, hidden processes and the local clock. One header; platform_posix.cpp
// implements it on Linux (XDG) and platform_win32.cpp on Windows.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// ---- Text ------------------------------------------------------------------------------
// The client holds its texts as UTF-8; files and byte counts use code page 936 (GBK).

// UTF-8 to code page 936. A character that code page 936 cannot hold becomes "?"; an invalid
// UTF-8 sequence becomes "?" as well. Never throws.
std::string Utf8ToCp936(std::string_view utf8);

// Code page 936 to UTF-8. A byte sequence that is not valid code page 936 becomes U+FFFD.
// Never throws.
std::string Cp936ToUtf8(std::string_view bytes);

// Number of bytes the UTF-8 text takes in code page 936.
std::size_t Cp936Length(std::string_view utf8);

// ---- Files and folders -----------------------------------------------------------------

// The folder separator of this system: '/' or '\\'.
char PathSeparator();

// Full path of the running executable.
std::string ExecutablePath();

// Folder of the running executable, ending in a separator.
std::string ExecutableDirectory();

// Folder part of a path including its trailing separator ("" when the path has none).
std::string FolderOf(const std::string& path);

// Default folder of the daily log files, ending in a separator:
// Linux $XDG_STATE_HOME/KorvaneVandrel/ (default ~/.local/state/KorvaneVandrel/); Windows the
// text C:\\ (drive, colon, two backslashes; Windows reads the doubled separator as one).
std::string DefaultLogDirectory();

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Creates the folder with every missing parent. True when the folder exists afterwards.
bool CreateDirectories(const std::string& path);

// Opens the file for appending in binary mode, creating it when missing; nullptr on failure
// (errno tells why). `shared`: other processes may read and write the file meanwhile; when
// false the file is held exclusively where the system supports it (Windows).
std::FILE* OpenAppend(const std::string& path, bool shared);

// ---- Processes -------------------------------------------------------------------------

// Starts the command line as a hidden process (no window, output discarded), waits without
// time limit for it to end and returns its exit code; -1 when it cannot be started. On POSIX
// a process ended by a signal gives 128 + the signal number, as a shell reports it.
// The command line is cut to 255 bytes. Blanks separate the arguments; double quotes group.
int RunHidden(const std::string& commandLine);

// The command that flushes the system's DNS cache ("ipconfig /flushdns" on Windows).
std::string FlushDnsCommand();

// ---- Local time ------------------------------------------------------------------------

struct LocalTime {
  int year = 0, month = 0, day = 0;           // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0;       // 24-hour clock
  int millisecond = 0;
};

LocalTime ToLocalTime(std::chrono::system_clock::time_point when);

// The local time given as fields, as a point in time (-1 second when the fields are no valid
// local time).
std::chrono::system_clock::time_point FromLocalTime(const LocalTime& local);

}  // namespace platform

// ---- Desktop ----
// The client's places in the user's desktop session and the desktop's own services.
// desktop_posix.cpp implements them with the XDG conventions, desktop_win32.cpp with the shell.

namespace platform {

// The user's configuration folder, ending in a separator: Linux $XDG_CONFIG_HOME/ (default
// ~/.config/); Windows the roaming application-data folder.
std::string UserConfigDirectory();

// Folder of the settings file config.ini, ending in a separator: Linux
// UserConfigDirectory() + "KorvaneVandrel/"; Windows the Windows directory.
std::string SettingsDirectory();

// The user's desktop folder, ending in a separator. Linux: $XDG_DESKTOP_DIR, else the
// XDG_DESKTOP_DIR line of UserConfigDirectory() + "user-dirs.dirs", else ~/Desktop/.
// Windows: the shell's desktop folder.
std::string DesktopDirectory();

// Hands the address to the desktop's handler (xdg-open; the shell verb "open" on Windows)
// and does not wait for it. False when the handler cannot be started.
bool OpenUrl(const std::string& url);

// The date separator of the user's locale: Linux the first separator of the LC_TIME date
// format ('-' when it has none); Windows the locale's date separator.
char DateSeparator();

// A date in the user's short date format: Linux year, month and day as yyyy, mm, dd joined by
// DateSeparator(); Windows the locale's short date format.
std::string FormatShortDate(const LocalTime& date);

}  // namespace platform
