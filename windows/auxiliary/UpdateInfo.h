// The update server's description of the newest published client, the information file
// "/client/update/vandrel.inf", and the comparison of version numbers.
//
// The information file is UTF-8 text in lines ended by LF or CR LF. Blank lines and lines
// that start with ";" or "#" are ignored; every other line is a section header "[name]" or a
// pair "key=value" (blanks around keys and values do not count). Section [update] describes
// the version:
//
//   version=5.2.2.0   the version number: decimal numbers joined by single dots
//   notes=<text>      one line of the release notes, repeated for every line in order (an
//                     empty "notes=" is an empty line); the client joins them with CR LF
//
// Each published client file has a section named after its file name, the file being served
// as "/client/update/" followed by that name:
//
//   [vandrel.exe]            the Windows client
//   [vandrel-linux-x86_64]   the Linux client for x86-64; other Linux machines look for
//                            "vandrel-linux-" followed by their machine name ("aarch64")
//   size=<bytes>             the file's exact size in bytes
//   sha256=<64 hex digits>   the SHA-256 digest of the file, in either case
//
// A client offers a version when its number is higher than its own, compared number by
// number (5.10 is higher than 5.9; 5.2 equals 5.2.0.0), and when its own file is listed with
// a size and a well-formed digest. Example:
//
//   [update]
//   version=5.2.2.0
//   notes=v5.2.2.0
//   notes=
//   notes=1.增加车辆分组功能
//
//   [vandrel-linux-x86_64]
//   size=8821544
//   sha256=0f3c8e0d5a...(64 hex digits)
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kUpdateInfoPath = "/client/update/vandrel.inf";
inline constexpr const char* kUpdateFolderPath = "/client/update/";

// A published client file.
struct TUpdateFile {
  std::uint64_t size = 0;
  std::string sha256;  // 64 lower-case hex digits
};

struct TUpdateInfo {
  std::string version;
  std::string notes;  // lines joined by CR LF
  std::map<std::string, TUpdateFile> files;  // by file name
};

// The name of this client's file on the update server.
std::string UpdateFileName();

// The description the update server publishes for this client's own version, without files.
TUpdateInfo InfoOfThisVersion();

// Reads an information file; nullopt when its [update] section has no valid version. A file
// section without a valid size or digest is left out.
std::optional<TUpdateInfo> ParseUpdateInfo(std::string_view text);

// The information file text of a description (LF line ends).
std::string FormatUpdateInfo(const TUpdateInfo& info);

// The numbers of a version text; nullopt unless it is decimal numbers joined by single dots.
std::optional<std::vector<std::uint64_t>> ParseVersion(std::string_view version);

// True when `candidate` is a higher version number than `current`; false when either is not
// a version number.
bool IsNewerVersion(std::string_view candidate, std::string_view current);
