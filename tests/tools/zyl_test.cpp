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

TEST(Zyl, AnswersEachCommandWithItsOutputAndExitStatus) {
  const std::string record = "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\r\nsaved\r\n";
  const TempDir dir;
  const std::string lost = dir.path() + "missing" + PathSeparator() + "app.log";
  const std::string log = dir.path() + "app.log";
  const std::string device = PathSeparator()[0] == '/' ? "/dev/full" : "NUL";
  const struct {
    Args args;
    std::string input, out;
    int status;
    std::string err;  // the start of its first line
  } cases[] = {
      {{"trim", "\t a b "}, "", "a b\n", 0, ""},
      {{"trim-left", "-"}, " x \r\n y", "x \ny\n", 0, ""},
      {{"trim-right", "--", "-x "}, "", "-x\n", 0, ""},
      // Wildcards are not expanded, nor quotes and backslashes reinterpreted on the way.
      {{"trim", "*.*"}, "", "*.*\n", 0, ""},
      {{"trim", "say \"hi\" back\\slash\\ a?b"}, "", "say \"hi\" back\\slash\\ a?b\n", 0, ""},
      {{"short-path", "-"}, "no such file\n", "\n", 1, ""},
      {{"pad", "-lw5", "-f0", "42"}, "", "00042\n", 0, ""},
      {{"pad", "-w", "3", "-l", "-r", "-"}, "a\n\n", "a  \n   \n", 0, ""},
      {{"file-name", "C:\\DIR\\FILE.TXT"}, "", "FILE.TXT\n", 0, ""},
      {{"file-path", "-"}, "C:\\DIR\\FILE.TXT\r\nX", "C:\\DIR\\\n\n", 0, ""},
      {{"debug"}, "", "off\n", 1, ""},
      {{"title"}, "", ExecutableTitle("zyl") + "\n", 0, ""},
      {{"title", "0x7FFF0010"}, "", "\n", 1, ""},  // no window has a handle this low in its word
      {{"show", "-"},
       "stray\n" + record,
       "stray\n" + record,
       0,
       "zyl: -, byte 0: not a record, shown as it is"},
      {{"show", "-", "--grep", "SAVED"}, record, "", 1, ""},
      {{"show", "-", "-i", "--grep", "SAVED", "--count"}, record, "      1 C:\\A.EXE\n", 0, ""},
      {{"show", "no such file"}, "", "", 3, "zyl: cannot read no such file: "},
      {{"log", "--file=" + log, "first"}, "", "", 0, ""},  // zyl found each record it appended
      {{"log", "-f", log, "-"}, "second\r\n\nthird", "", 0, ""},
      {{"show", log, "--count"}, "", "      4 " + ZylPath() + "\n", 0, ""},
      {{"log", "--file", lost, "x"}, "", "", 3, "zyl: could not append a record to " + lost + ": "},
      {{"log", "-f", dir.path(), "x"},
       "",
       "",
       3,
       "zyl: could not append a record to " + dir.path() + ": not a regular file"},
      // A device takes the record but cannot give it back.
      {{"log", "-f", device, "x"}, "", "", 3, "zyl: could not append a record to " + device + ": "},
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
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const ZylRun run = RunZyl(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_EQ(run.err.empty(), c.err.empty()) << run.err;
  }
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
                 ::testing::PrintToString(c.args));
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
  const ZylRun all = RunZyl({"--help"});
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(RunZyl({"help"}).out, all.out);
  const ZylRun pad = RunZyl({"pad", "--bad", "-h"});  // help wins over unknown options
  EXPECT_EQ(pad.status, 0);
  EXPECT_NE(pad.out.find("\nUsage: zyl pad [OPTIONS] TEXT\n"), std::string::npos) << pad.out;
  EXPECT_EQ(RunZyl({"help", "pad"}).out, pad.out);
  EXPECT_EQ(RunZyl({"--help", "pad"}).out, pad.out);
  EXPECT_EQ(RunZyl({"-V"}).out.rfind("zyl 8.", 0), 0u);
}

}  // namespace
}  // namespace zyl::testing
