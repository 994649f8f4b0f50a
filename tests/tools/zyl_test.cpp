#include "zyl/zyl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "zyl_runner.h"

namespace zyl::testing {
namespace {

using Args = std::vector<std::string>;

std::string Show(const Args& args) {
  std::string shown = "zyl";
  for (const std::string& arg : args) shown += " " + ::testing::PrintToString(arg);
  return shown;
}

// A bad command line: status 2, nothing on standard output, and a message naming the fault.
void ExpectUsageError(const Args& args, const std::string& message) {
  SCOPED_TRACE(Show(args));
  const ZylRun run = RunZyl(args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("zyl: " + message), std::string::npos) << run.err;
}

TEST(ZylTrim, PrintsArgumentsTrimmedAtTheRequestedEnds) {
  const struct {
    Args args;
    std::string want;
  } cases[] = {
      {{"trim", "\t  a b  "}, "a b\n"},
      {{"trim-left", "\t  a b  "}, "a b  \n"},
      {{"trim-right", "\t  a b  "}, "\t  a b\n"},
      {{"trim", "   "}, "\n"},
      {{"trim", ""}, "\n"},
      {{"trim", "--", "-x "}, "-x\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.args));
    const ZylRun run = RunZyl(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.want);
    EXPECT_EQ(run.err, "");
  }
}

TEST(ZylTrim, FiltersStandardInputLineByLine) {
  const struct {
    std::string command, input, want;
  } cases[] = {
      {"trim", "  a  \n\tb\t\nc", "a\nb\nc\n"},  // the last line needs no LF
      {"trim", "  a  \r\n b \r\n", "a\nb\n"},    // CRLF ends a line too
      {"trim-left", " x \r\n", "x \n"},          // the CR went with the line end, the blank stays
      {"trim-right", std::string("\0 x\0\n", 5), std::string("\0 x\n", 4)},
      {"trim", "\xA0x\xA0\n", "\xA0x\xA0\n"},  // bytes above 0x7F pass unconverted
      {"trim", "a\rb\n", "a\rb\n"},            // a CR inside a line is data
      {"trim", "\n\n", "\n\n"},
      {"trim", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command + " - <<< " + ::testing::PrintToString(c.input));
    const ZylRun run = RunZyl({c.command, "-"}, c.input);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.want);
  }
}

TEST(ZylTrim, KeepsLongInputsWhole) {
  std::string input;
  std::string want;
  for (int i = 0; i < 20000; ++i) {
    input += "  line " + std::to_string(i) + (i % 2 == 0 ? " \r\n" : "\t\n");
    want += "line " + std::to_string(i) + "\n";
  }
  const ZylRun run = RunZyl({"trim", "-"}, input);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out == want) << "got " << run.out.size() << " bytes, want " << want.size();
}

TEST(ZylArguments, ReachTheLibraryByteForByte) {
  // Wildcards must not be expanded, nor quotes and backslashes reinterpreted on the way.
  const std::string cases[] = {"*", "*.*", "a?b", "say \"hi\"", "back\\slash\\", "a  b"};
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    const ZylRun run = RunZyl({"trim", text});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, text + "\n");
  }
}

TEST(ZylPad, PadsToTheWidthOnTheChosenSide) {
  const struct {
    Args args;
    std::string want;
  } cases[] = {
      {{"pad", "-w5", "-f0", "--left", "42"}, "00042\n"},
      {{"pad", "--width=6", "abc"}, "abc   \n"},
      {{"pad", "-w", "6", "--fill=*", "--right", "abc"}, "abc***\n"},
      {{"pad", "-w", "4", "-f", ".", ""}, "....\n"},
      {{"pad", "-w", "3", "abcdef"}, "abcdef\n"},
      {{"pad", "-w", "0", "abc"}, "abc\n"},
      {{"pad", "-w", "-1", "-l", "abc"}, "abc\n"},
      {{"pad", "--width", "-2147483648", "abc"}, "abc\n"},
      {{"pad", "-w", "010", "x"}, "x         \n"},     // decimal, not octal
      {{"pad", "-l", "-r", "-w", "3", "x"}, "x  \n"},  // the last side given wins
      {{"pad", "-w", "3", "--", "-x"}, "-x \n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.args));
    const ZylRun run = RunZyl(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.want);
    EXPECT_EQ(run.err, "");
  }
}

TEST(ZylPad, PadsEachInputLine) {
  const ZylRun run = RunZyl({"pad", "-w", "4", "-f", ".", "--left", "-"}, "a\r\nbb\n\nabcde");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "...a\n..bb\n....\nabcde\n");
}

TEST(ZylPad, RejectsWidthsThatAreNotThirtyTwoBitIntegers) {
  const std::string widths[] = {"abc", "2147483648", "-2147483649", "",   " 5",
                                "5 ",  "1.5",        "0x10",        "+5", "-"};
  for (const std::string& width : widths) {
    ExpectUsageError({"pad", "-w", width, "x"}, "width '" + width + "' is not a 32-bit integer");
  }
}

TEST(ZylPad, RejectsFillsThatAreNotOneByte) {
  ExpectUsageError({"pad", "-w", "3", "-f", "ab", "x"}, "fill 'ab' is not one byte");
  ExpectUsageError({"pad", "-w", "3", "--fill=", "x"}, "fill '' is not one byte");
}

TEST(ZylPad, RejectsAMissingWidth) {
  ExpectUsageError({"pad", "x"}, "missing --width");
  ExpectUsageError({"pad", "x", "-w"}, "option '-w' needs a value");
}

TEST(ZylFileName, SplitsArgumentsAndInputLinesAlike) {
  const struct {
    std::string path, name, dir;
  } cases[] = {
      {"C:\\DIR\\FILE.TXT", "FILE.TXT", "C:\\DIR\\"},
      {"C:FILE.TXT", "FILE.TXT", "C:"},
      {"C:\\DIR\\", "", "C:\\DIR\\"},
      {"FILE.TXT", "", ""},
      {"dir/file.txt", "", ""},
      {"\\\\server\\share\\*.log", "*.log", "\\\\server\\share\\"},
  };
  std::string input, names, dirs;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RunZyl({"file-name", c.path}).out, c.name + "\n");
    EXPECT_EQ(RunZyl({"file-path", c.path}).out, c.dir + "\n");
    input += c.path + "\r\n";
    names += c.name + "\n";
    dirs += c.dir + "\n";
  }
  EXPECT_EQ(RunZyl({"file-name", "-"}, input).out, names);
  EXPECT_EQ(RunZyl({"file-path", "-"}, input).out, dirs);
}

TEST(ZylShortPath, PrintsAFormForExistingPathsAndAnEmptyLineOtherwise) {
  const std::string existing = ZylPath();
  const std::string missing = ExecutableDir() + "no such file.txt";
  const ZylRun run = RunZyl({"short-path", "-"}, existing + "\n" + missing + "\n");
  EXPECT_EQ(run.status, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  EXPECT_FALSE(lines[0].empty());
  EXPECT_LE(lines[0].size(), existing.size());
  EXPECT_EQ(lines[1], "");
}

TEST(ZylDebug, PrintsOnOrOffWithTheMatchingStatus) {
  const struct {
    const char* value;  // null: unset
    std::string out;
    int status;
  } cases[] = {
      {nullptr, "off\n", 1}, {"on", "on\n", 0},   {"On", "on\n", 0},
      {"oN", "on\n", 0},     {"ON", "on\n", 0},   {"1", "off\n", 1},
      {"YES", "off\n", 1},   {"ON ", "off\n", 1}, {" ON", "off\n", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value != nullptr ? c.value : "(unset)");
    const ScopedEnv debug("DEBUG", c.value);
    const ZylRun run = RunZyl({"debug"});
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(ZylLog, AppendsOneRecordPerMessageToTheChosenFile) {
  const TempDir dir;
  const std::string log = dir.path() + "app.log";
  EXPECT_EQ(RunZyl({"log", "--file=" + log, "first"}).status, 0);
  const ZylRun run = RunZyl({"log", "-f", log, "-"}, "second\r\n\nthird");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");

  const std::vector<std::string> lines = Lines(ReadWholeFile(log));
  const std::string messages[] = {"first", "second", "", "third"};
  ASSERT_EQ(lines.size(), 2 * std::size(messages)) << ReadWholeFile(log);
  for (std::size_t i = 0; i < std::size(messages); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[2 * i].rfind("APP: " + ZylPath() + ": ", 0), 0u) << lines[2 * i];
    EXPECT_EQ(lines[2 * i + 1], messages[i]);
  }
}

TEST(ZylLog, SkipsALogThatCannotBeOpened) {
  const TempDir dir;
  const std::string log = dir.path() + "missing" + PathSeparator() + "app.log";
  const ZylRun run = RunZyl({"log", "--file", log, "lost"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_FALSE(FileExists(log));
}

std::vector<std::string> Texts(const std::vector<ShownBox>& boxes) {
  std::vector<std::string> texts;
  for (const ShownBox& box : boxes) texts.push_back(box.text);
  return texts;
}

// Each box is checked as a user sees it: zyl owns no window, so the box has no owner and is
// captioned with zyl's file name as the library splits it (empty for a POSIX path).
void ExpectBoxes(const Args& args, const std::string& input, const std::vector<std::string>& want) {
  const ZylRun run = RunZylShowingBoxes(args, input);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Texts(run.boxes), want);
  for (const ShownBox& box : run.boxes) {
    EXPECT_EQ(box.caption, ExtractFileName(ZylPath()));
    EXPECT_EQ(box.owner, nullptr);
  }
}

TEST(ZylMsg, ShowsOneBoxPerArgumentOrInputLine) {
  ExpectBoxes({"msg", "Saved 3 files."}, "", {"Saved 3 files."});
  ExpectBoxes({"msg", "-"}, "first\r\nsecond\n", {"first", "second"});
}

TEST(ZylError, ShowsTheDetailOnlyInDebugMode) {
  const struct {
    const char* debug;
    Args args;
    std::string input;
    std::vector<std::string> boxes;
  } cases[] = {
      {nullptr, {"error", "Could not save.", "disk full"}, "", {"Could not save."}},
      {"off", {"error", "-", "detail"}, "a\nb\n", {"a", "b"}},
      {"On", {"error", "user", "-"}, "a\nb\n", {"a", "b"}},
      {"ON", {"error", "-", "detail"}, "a\nb\n", {"detail", "detail"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("DEBUG=") + (c.debug != nullptr ? c.debug : "(unset)") + " " +
                 Show(c.args));
    const ScopedEnv debug("DEBUG", c.debug);
    ExpectBoxes(c.args, c.input, c.boxes);
  }
}

TEST(ZylTitle, NullHandleGivesTheExecutablesFileName) {
  // As the library splits the path: at '\' or ':' only.
  const std::string want = ExtractFileName(ZylPath()) + "\n";
  for (const Args& args : {Args{"title"}, Args{"title", "0"}, Args{"title", "0x0"}}) {
    SCOPED_TRACE(Show(args));
    const ZylRun run = RunZyl(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, want);
  }
}

TEST(ZylTitle, RejectsHandlesThatAreNotNumbers) {
  const std::string handles[] = {
      "0x", "x1", "-1", "0x1g", "12 ", "0x-1", "999999999999999999999999"};
  for (const std::string& handle : handles) {
    ExpectUsageError({"title", "--", handle}, "window handle '" + handle + "' is not a number");
  }
}

TEST(ZylUsage, ExplainsBadCommandLinesWithStatusTwo) {
  const struct {
    Args args;
    std::string message;
  } cases[] = {
      {{}, "missing command"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"--frob"}, "unknown option '--frob'"},
      {{"trim"}, "missing TEXT"},
      {{"trim", "a", "b"}, "unexpected argument 'b'"},
      {{"trim", "-x"}, "unknown option '-x'"},
      {{"pad", "--left=yes", "-w", "1", "x"}, "option '--left' takes no value"},
      {{"error", "only the user text"}, "missing DETAIL"},
      {{"error", "-", "-"}, "only one argument can be '-'"},
      {{"debug", "on"}, "unexpected argument 'on'"},
      {{"log"}, "missing MESSAGE"},
      {{"log", "--file"}, "option '--file' needs a value"},
      {{"title", "1", "2"}, "unexpected argument '2'"},
  };
  for (const auto& c : cases) ExpectUsageError(c.args, c.message);
}

TEST(ZylHelp, DescribesEveryCommand) {
  const std::string commands[] = {"trim",      "trim-left", "trim-right", "pad",
                                  "file-name", "file-path", "short-path", "debug",
                                  "log",       "msg",       "error",      "title"};
  const ZylRun all = RunZyl({"--help"});
  EXPECT_EQ(all.status, 0);
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    EXPECT_NE(all.out.find("\n  " + command + " "), std::string::npos);
    // Help wins over everything else on the line, bad arguments included.
    const ZylRun one = RunZyl({command, "--bad", "-h"});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out.rfind("Usage: zyl " + command, 0), 0u) << one.out;
    EXPECT_EQ(one.err, "");
  }
}

}  // namespace
}  // namespace zyl::testing
