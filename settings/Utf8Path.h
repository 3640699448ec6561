// std::filesystem paths from the core's UTF-8 texts. A std::string path would be read in the
// ANSI code page on Windows; a char8_t string is UTF-8 everywhere.
#pragma once

#include <filesystem>
#include <string>

inline std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
