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
  // Lines short and long, one longer than a read block, so that lines and CR LF pairs straddle
  // the blocks at every offset.
  for (int i = 0; i < 20000; ++i) {
    const std::string line =
        "line " + std::to_string(i) + std::string(i == 7777 ? 300000 : i % 37, 'x');
    input += "  " + line + (i % 2 == 0 ? " \r\n" : "\t\n");
    want += line + "\n";
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
      {{"pad", "-lw5", "-f0", "42"}, "00042\n"},  // short options bundle
      {{"pad", "--width=6", "abc"}, "abc   \n"},
      {{"pad", "-w", "6", "--fill=*", "--right", "abc"}, "abc***\n"},
      {{"pad", "-w", "4", "-f", ".", ""}, "....\n"},
      {{"pad", "-w", "3", "abcdef"}, "abcdef\n"},
      {{"pad", "-w", "0", "abc"}, "abc\n"},
      {{"pad", "-w", "-1", "-l", "abc"}, "abc\n"},
      {{"pad", "--width", "-2147483648", "abc"}, "abc\n"},
      {{"pad", "-w", "010", "x"}, "x         \n"},     // decimal, not octal
      {{"pad", "-l", "-r", "-w", "3", "x"}, "x  \n"},  // the last side given wins
      {{"pad", "-rlw3", "x"}, "  x\n"},
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
    ExpectUsageError({"pad", "-w", width, "x"}, "--width: '" + width + "' is not a 32-bit integer");
  }
}

TEST(ZylPad, RejectsFillsThatAreNotOneByte) {
  ExpectUsageError({"pad", "-w", "3", "-f", "ab", "x"}, "--fill: 'ab' is not one byte");
  ExpectUsageError({"pad", "-w", "3", "-f", "", "x"}, "--fill: '' is not one byte");
}

TEST(ZylPad, RejectsAMissingWidth) {
  ExpectUsageError({"pad", "x"}, "--width is required");
  ExpectUsageError({"pad", "x", "-w"}, "--width: 1 required N missing");
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

TEST(ZylLog, ReportsARecordNotAppendedWithTheFileAndTheReason) {
  const TempDir dir;
  // A missing folder, a folder, and a device, which takes the record but cannot give it back.
  const std::string cases[] = {dir.path() + "missing" + PathSeparator() + "app.log", dir.path(),
                               PathSeparator()[0] == '/' ? "/dev/full" : "NUL"};
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

TEST(ZylTitle, NullHandleGivesTheExecutablesFileNameAndANonWindowStatusOne) {
  // As the library splits the path: at '\' or ':' only.
  const std::string name = ExtractFileName(ZylPath()) + "\n";
  const struct {
    Args args;
    std::string out;
    int status;
  } cases[] = {
      {{"title"}, name, 0},
      {{"title", "0"}, name, 0},
      {{"title", "0x0"}, name, 0},
      {{"title", "0x7FFF0010"}, "\n", 1},  // no window has a handle this low in its word
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.args));
    const ZylRun run = RunZyl(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(ZylTitle, RejectsHandlesThatAreNotNumbers) {
  const std::string handles[] = {
      "0x", "x1", "-1", "0x1g", "12 ", "0x-1", "999999999999999999999999"};
  for (const std::string& handle : handles) {
    ExpectUsageError({"title", "--", handle}, "WINDOW-HANDLE: '" + handle + "' is not a number");
  }
}

TEST(ZylShow, ReadsCraftedLogs) {
  // A record as the library writes it on Windows, one as on Linux with a message of two lines.
  const std::string a = "APP: C:\\APPS\\STOCK.EXE: Wed Mar 15 09:05:07 2006\r\nsaved 3 items\r\n";
  const std::string b = "APP: D:\\tools\\x.exe: Thu Mar 16 10:00:00 2006\nline one\nline two\n";
  const auto a_json = [](std::size_t offset) {
    return R"({"exe":"C:\\APPS\\STOCK.EXE","message":"saved 3 items","offset":)" +
           std::to_string(offset) + R"(,"time":"2006-03-15T09:05:07"})" + "\n";
  };
  const auto b_json = [](std::size_t offset) {
    return R"({"exe":"D:\\tools\\x.exe","message":"line one\nline two","offset":)" +
           std::to_string(offset) + R"(,"time":"2006-03-16T10:00:00"})" + "\n";
  };
  const std::string unknown_time = "APP: : ??? ??? ?? ??:??:?? ????\r\n\r\n";
  const struct {
    const char* name;
    std::optional<std::string> log;  // none: no such file
    Args args;
    std::string out;
    int status;
  } cases[] = {
      {"as written", a + b, {}, a + b, 0},
      {"as JSON lines", a + b, {"--json"}, a_json(0) + b_json(a.size()), 0},
      {"a message ending in CR LF CR LF",
       a + "\r\n" + b,
       {"--last", "2", "--json"},
       R"({"exe":"C:\\APPS\\STOCK.EXE","message":"saved 3 items\n","offset":0,)"
       R"("time":"2006-03-15T09:05:07"})"
       "\n" +
           b_json(a.size() + 2),
       0},
      {"foreign lines first",
       "#!\nnot a log\n" + a,
       {"--json"},
       R"({"offset":0,"record":false,"text":"#!\nnot a log\n"})"
       "\n" +
           a_json(13),
       0},
      {"a record cut short by the next",
       "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\nhalf" + b,
       {"--json"},
       R"({"exe":"C:\\A.EXE","message":"half","offset":0,"time":"2006-03-15T09:05:07",)"
       R"("torn":true})"
       "\n" +
           b_json(44),
       0},
      {"a record cut short in its header", "APP: C:\\A.E" + b, {"--app", "x.exe"}, b, 0},
      {"a record without its message",
       b + a.substr(0, 50),
       {"--json", "--last=1"},
       R"({"exe":"C:\\APPS\\STOCK.EXE","message":"","offset":64,"time":"2006-03-15T09:05:07",)"
       R"("torn":true})"
       "\n",
       0},
      {"an unknown time",
       unknown_time,
       {"--json"},
       R"({"exe":"","message":"","offset":0,"time":null})"
       "\n",
       0},
      {"not UTF-8",
       "APP: C:\\\xC9T\xC9.EXE: Wed Mar 15 09:05:07 2006\n\xFF\n",
       {"--json"},
       "{\"exe\":\"C:\\\\\xEF\xBF\xBDT\xEF\xBF\xBD.EXE\",\"exe_hex\":\"433a5cc954c92e455845\","
       "\"message\":\"\xEF\xBF\xBD\",\"message_hex\":\"ff\",\"offset\":0,"
       "\"time\":\"2006-03-15T09:05:07\"}\n",
       0},
      {"no valid time",
       "APP: C:\\A.EXE: Wed Mar 32 09:05:07 2006\n",
       {"--json"},
       R"({"offset":0,"record":false,"text":"APP: C:\\A.EXE: Wed Mar 32 09:05:07 2006\n"})"
       "\n",
       0},
      {"--app in any letter case", a + b, {"--app", "stock.exe"}, a, 0},
      {"--grep within a message", a + b, {"--grep", "one\nline"}, b, 0},
      {"--since, ctime form", a + b, {"--since", "Thu Mar 16 10:00:00 2006"}, b, 0},
      {"--until, ISO 8601", a + b, {"--until", "2006-03-16T09:59"}, a, 0},
      {"--since and --until", a + b, {"--since=2006-03-15", "--until=2006-03-15 23:59:59"}, a, 0},
      {"--since, relative", a + b, {"--since", "-2h"}, "", 1},
      {"--last", a + b + a, {"-n", "1", "--app", "x.exe"}, b, 0},
      {"--count",
       "stray\n" + b + a + b,
       {"--count"},
       "      2 D:\\tools\\x.exe\n      1 C:\\APPS\\STOCK.EXE\n      1 (not a record)\n",
       0},
      {"a foreign file, in pieces",
       std::string(100 * 1024, '\n'),
       {"--count"},
       "      2 (not a record)\n",
       0},
      {"an empty file", "", {}, "", 1},
      {"no such file", std::nullopt, {}, "", 3},
      {"a bad time", a, {"--until", "tomorrow"}, "", 2},
      {"--count with --json", a, {"--count", "--json"}, "", 2},
  };
  const TempDir dir;
  const std::string log = dir.path() + "zyl.log";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(log.c_str());
    if (c.log) std::ofstream(log, std::ios::binary) << *c.log;
    Args args = {"show", log};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ZylRun run = RunZyl(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
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

TEST(ZylUsage, ExplainsBadCommandLinesWithStatusTwo) {
  const struct {
    Args args;
    std::string message;
  } cases[] = {
      {{}, "missing command"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"--frob"}, "unknown option '--frob'"},
      {{"trim"}, "TEXT is required"},
      {{"trim", "a", "b"}, "unexpected argument 'b'"},
      {{"trim", "a", "trim"}, "unexpected argument 'trim'"},
      {{"trim", "-x"}, "unknown option '-x' for 'trim' (put -- before"},
      {{"pad", "-lx", "-w", "1", "x"}, "unknown option '-x'"},
      {{"pad", "--left=yes", "-w", "1", "x"}, "left was given a disallowed flag override"},
      {{"error", "only the user text"}, "DETAIL is required"},
      {{"error", "-", "-"}, "only one argument can be '-'"},
      {{"debug", "on"}, "unexpected argument 'on'"},
      {{"log"}, "MESSAGE is required"},
      {{"log", "--file"}, "--file: 1 required FILE missing"},
      {{"title", "1", "2"}, "unexpected argument '2'"},
      {{"help", "frobnicate"}, "unknown command 'frobnicate'"},
  };
  for (const auto& c : cases) ExpectUsageError(c.args, c.message);
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
