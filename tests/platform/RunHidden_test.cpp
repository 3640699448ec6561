// Hidden processes: exit codes, argument splitting, discarded streams, the length limit.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/platform.h"

namespace {

struct RunCase {
  const char* name;
  std::string commandLine;
  int exitCode;
};

const RunCase kRunCases[] = {
    {"ExitCodeOfShell", "sh -c \"exit 3\"", 3},
    {"TrueGivesZero", "true", 0},
    {"FalseGivesOne", "false", 1},
    {"MissingProgram", "vandrel-no-such-program-4711 --x", -1},
    {"EmptyLine", "", -1},
    {"OnlyBlanks", "   ", -1},
    // $# counts the arguments after the script's own name "x".
    {"BlanksSeparate", "sh -c \"exit $#\" x a b  c", 3},
    {"QuotesGroup", "sh -c \"exit $#\" x \"a b\" c", 2},
    {"QuotesInsideAWord", "sh -c \"exit ${#1}\" x ab\"c d\"e", 6},
    {"EmptyQuotesGiveAnEmptyArgument", "sh -c \"exit $#\" x \"\" \"\"", 2},
    {"LeadingAndTrailingBlanks", "  sh -c \"exit 5\"  ", 5},
    {"SignalGives128PlusSignal", "sh -c \"kill -9 $$\"", 128 + 9},
};

std::ostream& operator<<(std::ostream& out, const RunCase& c) { return out << c.name; }

class RunHiddenTable : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunHiddenTable, ReturnsTheExitCode) {
  EXPECT_EQ(platform::RunHidden(GetParam().commandLine), GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, RunHiddenTable, ::testing::ValuesIn(kRunCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RunHidden, StandardStreamsAreTheNullDevice) {
  EXPECT_EQ(platform::RunHidden("sh -c \"[ /dev/stdin -ef /dev/null ] && "
                                "[ /dev/stdout -ef /dev/null ] && "
                                "[ /dev/stderr -ef /dev/null ]\""),
            0);
  // Reading stdin ends at once instead of waiting for input.
  EXPECT_EQ(platform::RunHidden("sh -c \"read line; exit $?\""), 1);
}

TEST(RunHidden, WaitsForTheProcessToEnd) {
  EXPECT_EQ(platform::RunHidden("sh -c \"sleep 0.3; exit 9\""), 9);
}

TEST(RunHidden, CutsTheCommandLineTo255Bytes) {
  // The script exits with the length of its first argument, which runs past the limit.
  const std::string prefix = "sh -c \"exit ${#1}\" x ";
  const std::string line = prefix + std::string(300, 'A');
  EXPECT_EQ(platform::RunHidden(line), static_cast<int>(255 - prefix.size()));
  // A line of exactly 255 bytes is kept whole.
  const std::string exact = prefix + std::string(255 - prefix.size(), 'B');
  EXPECT_EQ(platform::RunHidden(exact), static_cast<int>(255 - prefix.size()));
}

TEST(RunHidden, CutNeverSplitsAUtf8Character) {
  // 中 takes 3 bytes; a cut inside it drops the whole character.
  const std::string prefix = "sh -c \"exit ${#1}\" x ";
  std::string arg(255 - prefix.size() - 1, 'A');
  arg += "中";
  const int expected = static_cast<int>(arg.size() - 3);
  EXPECT_EQ(platform::RunHidden(prefix + arg), expected);
}

}  // namespace
