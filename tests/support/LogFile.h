// Points the logger at a fresh folder for one test and reads back the lines it wrote.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/TempDir.h"
#include "uLogger/uLogger.h"

namespace testsupport {

class ScopedLogFolder {
 public:
  ScopedLogFolder() : folder_(dir_.path()) { CreateLoggerAt(folder_); }
  ~ScopedLogFolder() { FreeLogger(); }
  ScopedLogFolder(const ScopedLogFolder&) = delete;
  ScopedLogFolder& operator=(const ScopedLogFolder&) = delete;

  // Every line of every log file in the folder, as UTF-8 without its CR LF.
  std::vector<std::string> lines() const {
    std::vector<std::string> all;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      std::ifstream file(entry.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << file.rdbuf();
      const std::string text = platform::Cp936ToUtf8(bytes.str());
      std::size_t start = 0, end;
      while ((end = text.find("\r\n", start)) != std::string::npos) {
        all.push_back(text.substr(start, end - start));
        start = end + 2;
      }
      if (start < text.size()) all.push_back(text.substr(start));  // an unterminated tail
    }
    return all;
  }

  // The text after "hh:nn:ss.zzz [Error] " of each line.
  std::vector<std::string> errorTexts() const {
    std::vector<std::string> texts;
    for (const std::string& line : lines()) {
      const std::size_t at = line.find(" [Error] ");
      texts.push_back(at == std::string::npos ? "<malformed> " + line : line.substr(at + 9));
    }
    return texts;
  }

 private:
  TempDir dir_;
  std::string folder_;
};

}  // namespace testsupport
