#include "settings/FileContents.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

#include "settings/SettingsError.h"
#include "settings/Utf8Path.h"

namespace fs = std::filesystem;

namespace {

// A name beside `path` that no other writer of this process or another one uses right now.
fs::path SiblingTemporaryPath(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return PathFromUtf8(path + ".tmp-" + std::to_string(stamp) + "-" +
                      std::to_string(counter.fetch_add(1)));
}

bool DeniesOwnerWrite(const fs::path& target) {
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  return !error && fs::exists(status) &&
         (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

void WriteNewFile(const fs::path& file, std::string_view bytes, fs::perms mode,
                  const std::string& path) {
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  if (!stream) throw FileWriteError(path, std::generic_category().message(errno));
  // Restrict the permissions before any byte is in the file.
  std::error_code error;
  fs::permissions(file, mode, fs::perm_options::replace, error);
  if (error) throw FileWriteError(path, error.message());
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream.close();
  if (!stream) throw FileWriteError(path, std::generic_category().message(errno));
}

}  // namespace

std::optional<std::string> ReadFileContents(const std::string& path) {
  std::ifstream stream(PathFromUtf8(path), std::ios::binary);
  if (!stream) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  if (stream.bad()) return std::nullopt;
  return bytes;
}

void ReplaceFile(const std::string& path, std::string_view bytes, fs::perms mode) {
  const fs::path target = PathFromUtf8(path);
  if (DeniesOwnerWrite(target)) throw FileWriteError(path, "文件只读");
  const fs::path temporary = SiblingTemporaryPath(path);
  try {
    WriteNewFile(temporary, bytes, mode, path);
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) throw FileWriteError(path, error.message());
  } catch (...) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw;
  }
}
