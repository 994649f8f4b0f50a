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
#include "time_words.h"
#include "zyl_runner.h"

namespace zyl::testing {
namespace {

using Args = std::vector<std::string>;

TEST(Zyl, AnswersEachCommandWithItsOutputAndExitStatus) {
  const std::string record = "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\r\nsaved\r\n";
  const TempDir dir;
  const std::string lost = dir.path() + "missing" + PathSeparator() + "app.log";
  const std::string log = dir.path() + "app.log", cursor = dir.path() + "cursor";
  // A log and its generations, shown oldest first; several files as one stream.
  const std::string rotated = dir.path() + "g.log";
  const auto saved = [](const char* what) {
    return "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\r\n" + std::string(what) + "\r\n";
  };
  std::ofstream(dir.path() + "g.2.log", std::ios::binary) << saved("two");
  std::ofstream(dir.path() + "g.1.log", std::ios::binary) << saved("one");
  std::ofstream(rotated, std::ios::binary) << saved("three");
  const std::string empty = dir.path() + "empty.log";
  std::ofstream{empty};
  const std::string device = PathSeparator()[0] == '/' ? "/dev/full" : "NUL";
  const std::string big =
      "APP: /x: Wed Mar 15 09:05:07 2006\n" + std::string(1536 * 1024, 'm') + "\n";
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
      {{"show", "-"},  // byte for byte, a record cut short in its message too
       "stray\n" + record + "half" + record,
       "stray\n" + record + "half" + record,
       0,
       "zyl: -, byte 0: not a record, shown as it is"},
      {{"show", "-", "--last", "1"}, record + big, big, 0, ""},  // in pieces, all of it
      {{"show", "-", "--grep", "SAVED"}, record, "", 1, ""},
      {{"show", "-", "-n", "1"}, "stray\n" + record, record, 0, ""},  // the last, not the first
      {{"show", "-", "--last=2", "--count"},
       "stray\n" + record + record,
       "      2 C:\\A.EXE\n",
       0,
       ""},
      {{"show", "-", "--last", "0"}, record, "", 1, ""},
      {{"show", "--grep", "saved", "--grep", "none", "-"}, record, record, 0, ""},
      {{"show", "-", "-i", "--grep", "SAVED", "--count"}, record, "      1 C:\\A.EXE\n", 0, ""},
      {{"show", "no such file"}, "", "", 3, "zyl: cannot read no such file: "},
      {{"show", rotated}, "", saved("one") + saved("two") + saved("three"), 0, ""},
      {{"show", "-n2", rotated, "-"}, saved("four"), saved("three") + saved("four"), 0, ""},
      {{"show", "--last", "1", "--cursor-file", cursor, rotated}, "", saved("three"), 0, ""},
      {{"show", "--cursor-file", cursor, rotated}, "", "", 1, ""},  // after what it showed
      {{"log", "--file=" + log, "first"}, "", "", 0, ""},  // zyl found each record it appended
      {{"log", "-f", log, "-"}, "second\r\n\nthird", "", 0, ""},
      {{"log", "-f", log, "ends in CR\r"}, "", "", 0, ""},  // the CR is the message's
      {{"show", log, "--count"}, "", "      5 " + ZylPath() + "\n", 0, ""},
      {{"rotate", log}, "", dir.path() + "app.1.log\n", 0, ""},
      {{"rotate", "--keep=1", log}, "", "", 1, ""},  // nothing left to rotate
      {{"rotate", empty}, "", "", 1, ""},            // nor in an empty log
      {{"rotate", dir.path()}, "", "", 3, "zyl: could not rotate " + dir.path() + ": "},
      {{"rotate", "-k", "0", log}, "", "", 2, "zyl: --keep: '0' is not a count of 1 or more"},
      // '-' is a file's name here: a ship runs on, so it is never one for each line of input.
      {{"ship", "--to", "h:1", "--state", lost, "-"}, "", "", 3, "zyl: --state " + lost},
      {{"log", "--file", lost, "x"},
       "",
       "",
       3,
       "zyl: could not append a record to " + lost + ": the folder " + dir.path() + "missing"},
      {{"log", "-f", dir.path(), "x"},
       "",
       "",
       3,
       "zyl: could not append a record to " + dir.path()},
      // A device takes the record but cannot give it back.
      {{"log", "-f", device, "x"}, "", "", 3, "zyl: could not append a record to " + device + ": "},
      {{"show", "-"}, record + "\x1b]0;PWNED\a\n", record + "\x1b]0;PWNED\a\n", 0, ""},
      {{"show", "-", "--json", "--escape=always"},
       "APP: /\xc2\x9b: Wed Mar 15 09:05:07 2006\nx\x7f\x1b\n",
       R"({"exe":"/\u009b","message":"x\u007f\u001b","offset":0,)"
       R"("time":"2006-03-15T09:05:07+00:00"})"
       "\n",
       0,
       ""},
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
      {{"show", "--until", "tomorrow"},
       "",
       "",
       2,
       std::string("zyl: --until: 'tomorrow' is not a time; zyl reads ") + tool::kTimeForms},
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
    EXPECT_EQ(run.err.find(": error "), std::string::npos) << "a number, not the system's words";
    // ... and those words end as a clause of zyl's line, without a stop or line end of their own.
    const std::vector<std::string> lines = Lines(run.err);
    if (!lines.empty() && !lines[0].empty()) {
      EXPECT_EQ(std::string(" .\r").find(lines[0].back()), std::string::npos) << run.err;
    }
  }
  // --last holds 32 MiB of its records' bytes and reads the rest again to show them: from the
  // file, or from where it put standard input's.
  const std::string huge = record + std::string(33 << 20, 'h') + "\r\n" + record;
  std::ofstream(dir.path() + "huge.log", std::ios::binary) << huge;
  EXPECT_TRUE(RunZyl({"show", "-n2", dir.path() + "huge.log"}).out == huge);
  EXPECT_TRUE(RunZyl({"show", "-n2", "-"}, huge).out == huge);
  const ScopedEnv rotate("ZYL_LOG_ROTATE", "1 K");
  const ZylRun unread = RunZyl({"log", "-f", log, "rotated or not"});
  EXPECT_EQ(unread.status, 0);
  EXPECT_EQ(unread.err.rfind("zyl: ZYL_LOG_ROTATE is not SIZE[,KEEP]", 0), 0u) << unread.err;
  // A daily rotation beside the writers' own: the larger KEEP holds, and the smaller is warned of.
  const ScopedEnv writers_keep("ZYL_LOG_ROTATE", "1G,3");
  for (const char* keep : {"1", "1", "1", "30"}) {
    SCOPED_TRACE(keep);
    EXPECT_EQ(RunZyl({"log", "-f", log, keep}).status, 0);
    const ZylRun rotated = RunZyl({"rotate", "--keep", keep, log});
    EXPECT_EQ(rotated.status, 0);
    EXPECT_EQ(rotated.err.find("zyl: ZYL_LOG_ROTATE keeps 3 generations: the writers' next"),
              keep[0] == '3' ? 0u : std::string::npos);
  }
  // app.2.log (with "rotated or not") to app.5.log: --keep 1 kept 3, --keep 30 all four.
  EXPECT_EQ(RunZyl({"show", "--count", log}).out, "      5 " + ZylPath() + "\n");
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

// From the last ten records on, through an append, a cut and a deletion, until the time given.
TEST(ZylShow, FollowsTheLogAsItGrowsIsCutShortOrReplaced) {
  const TempDir dir;
  const std::string log = dir.path() + "follow.log";
  const std::string in = dir.path() + "in", out = dir.path() + "out", err = dir.path() + "err";
  std::ofstream(in).close();
  const auto record = [](const std::string& message) {
    return "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\r\n" + message + "\r\n";
  };
  std::string start;
  for (int i = 0; i < 12; ++i) start += record("old " + std::to_string(i));
  std::ofstream(log, std::ios::binary) << start;
  const struct {
    std::ios::openmode mode;
    bool remove;
    std::string message;
    std::size_t offset;  // where zyl reads it
  } steps[] = {{std::ios::app, false, "grown", start.size()},
               {std::ios::trunc, false, "cut", 0},
               {std::ios::trunc, true, "anew", 0}};
  const std::time_t until = std::time(nullptr) + 8;
  char until_text[32];
  std::strftime(until_text, sizeof until_text, "%Y-%m-%dT%H:%M:%S", std::localtime(&until));
  std::thread writer([&] {  // each step once zyl has shown the one before
    std::string shown = "old 11";
    for (const auto& step : steps) {
      if (!AwaitText(out, shown, until)) return;
      if (step.remove) std::remove(log.c_str());
      // Windows frees the name only once zyl has closed the file it may be reading just then.
      do {
        std::ofstream(log, std::ios::binary | std::ios::out | step.mode) << record(step.message);
      } while (!AwaitText(log, step.message, std::time(nullptr) + 1) && std::time(nullptr) < until);
      shown = step.message;
    }
  });
  const std::optional<int> status = RunRedirected(
      ZylPath(), {"show", "--follow", "--until", until_text, "--json", log}, in, out, err, 30000);
  writer.join();
  EXPECT_EQ(status, 0) << ReadWholeFile(err);
  std::vector<std::string> want;
  for (int i = 2; i < 12; ++i) want.push_back("\"message\":\"old " + std::to_string(i) + "\"");
  for (const auto& step : steps) {
    want.push_back("\"message\":\"" + step.message +
                   "\",\"offset\":" + std::to_string(step.offset));
  }
  const std::vector<std::string> lines = Lines(ReadWholeFile(out));
  ASSERT_EQ(lines.size(), want.size()) << ReadWholeFile(out);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_NE(lines[i].find(want[i]), std::string::npos) << lines[i];
  }
}

// Rotations as writers make them: a rename, then the next record starts the log anew; one that
// opened the log just before the rename appends to the generation.
TEST(ZylShow, FollowsAcrossRotationsAndGoesOnFromItsCursor) {
  const TempDir dir;
  const std::string log = dir.path() + "app.log", cursor = dir.path() + "cursor";
  const std::string in = dir.path() + "in", out = dir.path() + "out", err = dir.path() + "err";
  std::ofstream(in).close();
  const auto generation = [&](int n) { return dir.path() + "app." + std::to_string(n) + ".log"; };
  const auto append = [](const std::string& path, const std::string& message) {
    std::ofstream(path, std::ios::binary | std::ios::app)
        << "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\n"
        << message << "\n";
  };
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::seconds(1));  // zyl waits for the log meanwhile
    append(log, "r1");
    if (!AwaitText(out, "r1", std::time(nullptr) + 20)) return;
    // Two rotations between two looks, and a late append to the first generation.
    append(log, "r2");
    std::rename(log.c_str(), generation(1).c_str());
    append(log, "r3");
    std::rename(log.c_str(), generation(2).c_str());
    append(log, "r4");
    append(generation(1), "r5");
  });
  // Killed while it follows: its cursor holds what it showed.
  RunRedirected(ZylPath(), {"show", "-f", "--json", "--cursor-file", cursor, log}, in, out, err,
                8000);
  writer.join();
  append(log, "r6");
  std::rename(log.c_str(), generation(3).c_str());
  append(log, "r7");
  {
    const ScopedEnv rotate("ZYL_LOG_ROTATE", "1");  // zyl's record is rotated into app.4.log
    EXPECT_EQ(RunZyl({"log", "-f", log, "r8"}).status, 0);
  }
  const std::string first = ReadWholeFile(out);
  const ZylRun second = RunZyl({"show", "--json", "--cursor-file", cursor, log});
  for (const std::string message : {"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"}) {
    SCOPED_TRACE(message);
    const std::string field = "\"message\":\"" + message + "\"";
    const std::string& shown = message < std::string("r6") ? first : second.out;
    EXPECT_NE(shown.find(field), std::string::npos) << first << second.out << ReadWholeFile(err);
    EXPECT_EQ(shown.find(field), shown.rfind(field)) << shown;
    EXPECT_EQ((message < std::string("r6") ? second.out : first).find(field), std::string::npos);
  }
  EXPECT_NE(first.find("app.1.log\",\"message\":\"r5\""), std::string::npos) << first;
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
