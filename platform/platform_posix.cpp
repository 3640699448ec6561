// The platform layer on Linux: iconv for code page 936, XDG folders, posix_spawn, localtime_r.
#include <fcntl.h>
#include <iconv.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Utf8Sequence.h"
#include "platform/platform.h"

extern char** environ;

namespace platform {

// ---- Text ------------------------------------------------------------------------------

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

// One iconv descriptor per thread and direction: a descriptor keeps shift state and must not
// serve two conversions at once.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible and advances `pos`; returns false at a byte sequence that
  // cannot be converted (errno EILSEQ or EINVAL), true when the whole input was taken.
  bool Convert(std::string_view in, std::size_t& pos, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[1024];
    while (pos < in.size()) {
      char* src = const_cast<char*>(in.data() + pos);
      std::size_t srcLeft = in.size() - pos;
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      pos = in.size() - srcLeft;
      if (rc == static_cast<std::size_t>(-1) && error != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToCp936() {
  thread_local Converter converter("CP936", "UTF-8");
  return converter;
}

Converter& FromCp936() {
  thread_local Converter converter("UTF-8", "CP936");
  return converter;
}

}  // namespace

std::string Utf8ToCp936(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  Converter& converter = ToCp936();
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    if (converter.ok() && converter.Convert(utf8, pos, out)) break;
    // An invalid sequence or a character code page 936 does not hold: one "?" for it.
    out.push_back('?');
    pos += detail::ReadUtf8Sequence(utf8, pos).length;
  }
  return out;
}

std::string Cp936ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  Converter& converter = FromCp936();
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    if (converter.ok() && converter.Convert(bytes, pos, out)) break;
    out.append(kReplacementUtf8);
    pos += 1;
  }
  return out;
}

std::size_t Cp936Length(std::string_view utf8) { return Utf8ToCp936(utf8).size(); }

// ---- Files and folders -----------------------------------------------------------------

char PathSeparator() { return '/'; }

std::string ExecutablePath() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableDirectory() { return FolderOf(ExecutablePath()); }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

namespace {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string HomeDirectory() {
  std::string home = EnvironmentValue("HOME");
  if (!home.empty()) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir)
    return found->pw_dir;
  return {};
}

std::string WithSeparator(std::string path) {
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgBaseDirectory(const char* variable, const char* fallbackUnderHome) {
  const std::string value = EnvironmentValue(variable);
  if (!value.empty() && value.front() == '/') return WithSeparator(value);
  return WithSeparator(HomeDirectory()) + fallbackUnderHome;
}

}  // namespace

std::string DefaultLogDirectory() {
  return XdgBaseDirectory("XDG_STATE_HOME", ".local/state/") + "KorvaneVandrel/";
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path), error);
  return DirectoryExists(path);
}

std::FILE* OpenAppend(const std::string& path, bool /*shared*/) {
  // POSIX has no share modes: other processes can always open the file.
  return std::fopen(path.c_str(), "ab");
}

// ---- Processes -------------------------------------------------------------------------

namespace {

constexpr std::size_t kMaxCommandLine = 255;

// Blanks separate arguments; a double quote starts or ends a group in which blanks are kept.
// The quotes themselves are dropped; "" gives an empty argument.
std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::string current;
  bool inToken = false, quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inToken = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inToken) args.push_back(std::move(current));
      current.clear();
      inToken = false;
    } else {
      current.push_back(c);
      inToken = true;
    }
  }
  if (inToken) args.push_back(std::move(current));
  return args;
}

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;

  bool DiscardStandardStreams() {
    return posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0) == 0;
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

int WaitForExitCode(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

int RunHidden(const std::string& commandLine) {
  const std::string_view line(commandLine.data(),
                              detail::Utf8PrefixWithin(commandLine, kMaxCommandLine));
  std::vector<std::string> args = SplitCommandLine(line);
  if (args.empty() || args.front().empty()) return -1;

  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  SpawnActions actions;
  if (!actions.DiscardStandardStreams()) return -1;
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], actions.get(), nullptr, argv.data(), environ) != 0) return -1;
  return WaitForExitCode(pid);
}

std::string FlushDnsCommand() { return "resolvectl flush-caches"; }

// ---- Local time ------------------------------------------------------------------------

LocalTime ToLocalTime(std::chrono::system_clock::time_point when) {
  using namespace std::chrono;
  const auto seconds = floor<std::chrono::seconds>(when);
  const auto millis = duration_cast<milliseconds>(when - seconds).count();
  const std::time_t t = system_clock::to_time_t(system_clock::time_point(seconds));
  std::tm fields{};
  localtime_r(&t, &fields);
  LocalTime local;
  local.year = fields.tm_year + 1900;
  local.month = fields.tm_mon + 1;
  local.day = fields.tm_mday;
  local.hour = fields.tm_hour;
  local.minute = fields.tm_min;
  local.second = fields.tm_sec;
  local.millisecond = static_cast<int>(millis);
  return local;
}

std::chrono::system_clock::time_point FromLocalTime(const LocalTime& local) {
  using namespace std::chrono;
  const auto invalid = system_clock::time_point{} - std::chrono::seconds(1);
  if (local.millisecond < 0 || local.millisecond > 999) return invalid;
  std::tm fields{};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  fields.tm_isdst = -1;
  const std::time_t t = std::mktime(&fields);
  // mktime normalises fields out of range (30 February, 24 o'clock, a time skipped by a
  // clock change); such fields name no local time.
  if (fields.tm_year != local.year - 1900 || fields.tm_mon != local.month - 1 ||
      fields.tm_mday != local.day || fields.tm_hour != local.hour ||
      fields.tm_min != local.minute || fields.tm_sec != local.second)
    return invalid;
  return system_clock::from_time_t(t) + milliseconds(local.millisecond);
}

}  // namespace platform
