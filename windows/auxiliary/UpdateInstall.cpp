#include "windows/auxiliary/UpdateInstall.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <cstdio>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Writes the whole file and makes sure it reached the disk before it is used.
bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
#if !defined(_WIN32)
  written = ::fsync(::fileno(file)) == 0 && written;
#endif
  return std::fclose(file) == 0 && written;
}

fs::perms ExecutablePermissions(const std::string& executable) {
  std::error_code error;
  const fs::file_status status = fs::status(executable, error);
  if (error || !fs::exists(status))
    return fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
           fs::perms::others_read | fs::perms::others_exec;
  return status.permissions();
}

// Moves the new file into the executable's place.
bool MoveIntoPlace(const std::string& fresh, const std::string& executable) {
  std::error_code error;
#if defined(_WIN32)
  // A running executable cannot be overwritten, but it can be renamed.
  const std::string old = executable + ".old";
  fs::remove(old, error);
  fs::rename(executable, old, error);
  if (error) return false;
  fs::rename(fresh, executable, error);
  if (error) {
    std::error_code ignored;
    fs::rename(old, executable, ignored);
    return false;
  }
  return true;
#else
  // rename() replaces the file in one step; the running process keeps the old one open.
  fs::rename(fresh, executable, error);
  return !error;
#endif
}

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  const QByteArray digest = QCryptographicHash::hash(
      QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
      QCryptographicHash::Sha256);
  return digest.toHex().toStdString();
}

TInstallFailure CheckDownload(std::string_view bytes, const TUpdateFile& file) {
  if (bytes.size() != file.size) return TInstallFailure::Size;
  if (Sha256Hex(bytes) != file.sha256) return TInstallFailure::Digest;
  return TInstallFailure::None;
}

TInstallFailure ReplaceExecutable(const std::string& executable, std::string_view bytes) {
  const std::string fresh = executable + ".new";
  std::error_code error;
  if (!WriteWholeFile(fresh, bytes)) {
    fs::remove(fresh, error);
    return TInstallFailure::Write;
  }
  fs::permissions(fresh, ExecutablePermissions(executable), fs::perm_options::replace, error);
  if (error || !MoveIntoPlace(fresh, executable)) {
    fs::remove(fresh, error);
    return TInstallFailure::Write;
  }
  return TInstallFailure::None;
}

void RemoveReplacedExecutable(const std::string& executable) {
  std::error_code ignored;
  fs::remove(executable + ".old", ignored);
}
