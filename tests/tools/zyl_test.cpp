#include "zyl/zyl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
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

TEST(Zyl, AnswersEachCommandWithItsOutputAndExitStatus) {
  const std::string record = "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\r\nsaved\r\n";
  const struct {
    Args args;
    std::string input, out;
    int status;
    std::string err;  // the start of its first line
  } cases[] = {
      {{"trim", "\t a b "}, "", "a b\n", 0, ""},
      {{"trim-left", "-"}, " x \r\n y", "x \ny\n", 0, ""},
      {{"trim-right", "--", "-x "}, "", "-x\n", 0, ""},
      {{"pad", "-lw5", "-f0", "42"}, "", "00042\n", 0, ""},
      {{"pad", "-w", "3", "-l", "-r", "-"}, "a\n\n", "a  \n   \n", 0, ""},
      {{"file-name", "C:\\DIR\\FILE.TXT"}, "", "FILE.TXT\n", 0, ""},
      {{"file-path", "-"}, "C:\\DIR\\FILE.TXT\r\nX", "C:\\DIR\\\n\n", 0, ""},
      {{"debug"}, "", "off\n", 1, ""},
      {{"title"}, "", ExtractFileName(ZylPath()) + "\n", 0, ""},
      {{"title", "0x7FFF0010"}, "", "\n", 1, ""},  // no window has a handle this low in its word
      {{"show", "-"},
       "stray\n" + record,
       "stray\n" + record,
       0,
       "zyl: -, byte 0: not a record, shown as it is"},
      {{"show", "-", "--grep", "SAVED"}, record, "", 1, ""},
      {{"show", "-", "-i", "--grep", "SAVED", "--count"}, record, "      1 C:\\A.EXE\n", 0, ""},
      {{"show", "no such file"}, "", "", 3, "zyl: cannot read no such file: "},
      {{"show", "-"}, record + "\x1b]0;PWNED\a\n", record + "\x1b]0;PWNED\a\n", 0, ""},
      {{"show", "-", "--escape=always"},
       record + "\x1b]0;PWNED\a\n",
       record + "\\x1b]0;PWNED\\x07\n",
       0,
       ""},
      {{}, "", "", 2, "zyl: missing command"},
      {{"frobnicate"}, "", "", 2, "zyl: unknown command 'frobnicate'"},
      {{"help", "frobnicate"}, "", "", 2, "zyl: unknown command 'frobnicate'"},
      {{"trim", "-x"}, "", "", 2, "zyl: unknown option '-x' for 'trim' (put -- before"},
      {{"trim", "a", "b"}, "", "", 2, "zyl: unexpected argument 'b'"},
      {{"pad", "x"}, "", "", 2, "zyl: --width is required"},
      {{"pad", "-w", "0x10", "x"}, "", "", 2, "zyl: --width: '0x10' is not a 32-bit integer"},
      {{"pad", "-w", "3", "--fill=", "x"}, "", "", 2, "zyl: --fill: an empty value"},
      {{"pad", "-w", "3", "--fill", "ab", "x"}, "", "", 2, "zyl: --fill: 'ab' is not one byte"},
      {{"log", "--file=", "a", "b"}, "", "", 2, "zyl: --file: an empty value"},
      {{"error", "-", "-"}, "", "", 2, "zyl: only one argument can be '-'"},
      {{"title", "--", "-1"}, "", "", 2, "zyl: WINDOW-HANDLE: '-1' is not a number"},
      {{"show", "--until", "tomorrow"}, "", "", 2, "zyl: --until: 'tomorrow' is not a time"},
      {{"show", "--since", "-40000d"}, "", "", 2, "zyl: --since: '-40000d' is not a time"},
      {{"show", "--count", "--json"}, "", "", 2, "zyl: --json excludes --count"},
  };
  const ScopedEnv debug("DEBUG", nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.args));
    const ZylRun run = RunZyl(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_EQ(run.err.empty(), c.err.empty()) << run.err;
  }
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

TEST(ZylShortPath, PrintsAFormForExistingPathsAndAnEmptyLineWithStatusOneOtherwise) {
  const std::string existing = ZylPath();
  const std::string missing = ExecutableDir() + "no such file.txt";
  const ZylRun run = RunZyl({"short-path", "-"}, existing + "\n" + missing + "\n");
  EXPECT_EQ(run.status, 1);  // a line without a short form
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  EXPECT_FALSE(lines[0].empty());
  EXPECT_LE(lines[0].size(), existing.size());
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(RunZyl({"short-path", existing}).out, lines[0] + "\n");
  EXPECT_EQ(RunZyl({"short-path", existing}).status, 0);
  EXPECT_EQ(RunZyl({"short-path", missing}).status, 1);
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

TEST(ZylLog, ReportsARecordNotAppendedWithTheFileAndTheReason) {
  const TempDir dir;
  const std::string cases[] = {dir.path() + "missing" + PathSeparator() + "app.log", dir.path()};
  for (const std::string& log : cases) {
    SCOPED_TRACE(log);
    const ZylRun run = RunZyl({"log", "--file", log, "lost"});
    EXPECT_EQ(run.status, 3);
    const std::string said = "zyl: could not append a record to " + log + ": ";
    EXPECT_EQ(run.err.rfind(said, 0), 0u) << run.err;
    EXPECT_GT(run.err.size(), said.size() + 1) << "no reason given";
  }
  EXPECT_FALSE(FileExists(cases[0]));
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

// Waits until the file at `path` holds `text`, or `deadline` passes.
bool AwaitText(const std::string& path, const std::string& text, std::time_t deadline) {
  while (ReadWholeFile(path).find(text) == std::string::npos) {
    if (std::time(nullptr) > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

TEST(ZylShow, FollowsTheLogThroughItsDeletionUntilTheTimeGiven) {
  const TempDir dir;
  const std::string log = dir.path() + "follow.log";
  const std::string in = dir.path() + "in", out = dir.path() + "out", err = dir.path() + "err";
  std::ofstream(in).close();
  ASSERT_EQ(RunZyl({"log", "-f", log, "first"}).status, 0);
  const std::time_t until = std::time(nullptr) + 8;
  char until_text[32];
  std::strftime(until_text, sizeof until_text, "%Y-%m-%dT%H:%M:%S", std::localtime(&until));
  std::thread writer([&] {
    if (!AwaitText(out, "first", until)) return;
    RunZyl({"log", "-f", log, "second"});
    if (!AwaitText(out, "second", until)) return;
    std::remove(log.c_str());
    // Windows frees the name only once zyl has closed the file it may be reading just then.
    while (!AwaitText(log, "anew", std::time(nullptr) + 1) && std::time(nullptr) < until) {
      RunZyl({"log", "-f", log, "anew"});
    }
  });
  const std::optional<int> status = RunRedirected(
      ZylPath(), {"show", "--follow", "--until", until_text, "--json", log}, in, out, err, 30000);
  writer.join();
  EXPECT_EQ(status, 0) << ReadWholeFile(err);
  const std::vector<std::string> lines = Lines(ReadWholeFile(out));
  ASSERT_EQ(lines.size(), 3u) << ReadWholeFile(out);
  const char* messages[] = {"\"message\":\"first\"", "\"message\":\"second\"",
                            "\"message\":\"anew\",\"offset\":0,"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_NE(lines[i].find(messages[i]), std::string::npos) << lines[i];
  }
}

TEST(ZylHelp, DescribesEveryCommand) {
  const std::string commands[] = {"trim",      "trim-left",  "trim-right", "pad", "file-name",
                                  "file-path", "short-path", "debug",      "log", "msg",
                                  "error",     "title",      "show"};
  const ZylRun all = RunZyl({"--help"});
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(RunZyl({"help"}).out, all.out);
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    EXPECT_NE(all.out.find("\n  " + command + " "), std::string::npos);
    // Help wins over unknown options on the line.
    const ZylRun one = RunZyl({command, "--bad", "-h"});
    EXPECT_EQ(one.status, 0);
    EXPECT_NE(one.out.find("\nUsage: zyl " + command + " "), std::string::npos) << one.out;
    EXPECT_EQ(one.err, "");
  }
  const std::string pad = RunZyl({"pad", "--help"}).out;
  EXPECT_EQ(RunZyl({"help", "pad"}).out, pad);
  EXPECT_EQ(RunZyl({"--help", "pad"}).out, pad);
  for (const char* version : {"-V", "--version"}) {
    const ZylRun run = RunZyl({version});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("zyl 8.", 0), 0u) << run.out;
  }
}

}  // namespace
}  // namespace zyl::testing
