// The zyl tool's units, called in-process: the record reader with the JSON printer, the filters,
// the times, the other printers, the '-' filter and the cursor. ctest runs them with TZ=UTC0.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "collector_link.h"
#include "commands.h"
#include "cursor.h"
#include "log_files.h"
#include "matcher.h"
#include "printers.h"
#include "record_reader.h"
#include "ship.h"
#include "stdin_lines.h"
#include "system.h"
#include "test_support.h"
#include "time_words.h"

namespace zyl::tool {
namespace {

using testing::ScopedEnv;

const std::string kA = "APP: C:\\APPS\\STOCK.EXE: Wed Mar 15 09:05:07 2006\r\nsaved 3 items\r\n";
const std::string kB = "APP: D:\\tools\\x.exe: Thu Mar 16 10:00:00 2006\nline one\nline two\n";
// kA read at `offset`, as a JSON line.
std::string AJson(std::size_t offset) {
  return R"({"exe":"C:\\APPS\\STOCK.EXE","message":"saved 3 items","offset":)" +
         std::to_string(offset) + R"(,"time":"2006-03-15T09:05:07+00:00"})";
}

// What `print` writes to an Output.
std::string Printed(const std::function<void(Output&)>& print) {
  std::FILE* file = std::tmpfile();
  std::string text;
  {
    Output out(file);
    print(out);
    out.Flush();
  }
  std::rewind(file);
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  std::fclose(file);
  return text;
}

// The entries of `log`, fed in two blocks cut at `split`, as JSON lines.
std::vector<std::string> JsonEntries(const std::string& log, std::size_t split) {
  std::vector<std::string> lines;
  RecordReader reader([&](LogEntry& entry) { lines.push_back(JsonLine(entry)); });
  reader.Feed(std::string_view(log).substr(0, split));
  reader.Feed(std::string_view(log).substr(split));
  reader.Finish();
  return lines;
}

TEST(RecordReader, ReadsRecordsAndKeepsWhatIsNone) {
  const std::string far_header = "APP: " + std::string(300, 'x') + ": Wed Mar 15 09:05:07 2006";
  const struct {
    const char* name;
    std::string log;
    std::vector<std::string> want;
  } cases[] = {
      {"as written",
       kA + kB,
       {AJson(0), R"({"exe":"D:\\tools\\x.exe","message":"line one\nline two","offset":65,)"
                  R"("time":"2006-03-16T10:00:00+00:00"})"}},
      {"a message ending in CR LF CR LF",
       kA + "\r\n",
       {R"({"exe":"C:\\APPS\\STOCK.EXE","message":"saved 3 items\n","offset":0,)"
        R"("time":"2006-03-15T09:05:07+00:00"})"}},
      {"foreign lines first",
       "#!\nnot a log\n" + kA,
       {R"({"offset":0,"record":false,"text":"#!\nnot a log\n"})", AJson(13)}},
      {"a record cut short by the next",
       "APP: C:\\A.EXE: Wed Mar 15 09:05:07 2006\nhalf" + kA,
       {R"({"exe":"C:\\A.EXE","message":"half","offset":0,"time":"2006-03-15T09:05:07+00:00",)"
        R"("torn":true})",
        AJson(44)}},
      {"a record cut short in its header: one header, as a path may hold \"APP: \"",
       "APP: C:\\A.E" + kA,
       {R"({"exe":"C:\\A.EAPP: C:\\APPS\\STOCK.EXE","message":"saved 3 items","offset":0,)"
        R"("time":"2006-03-15T09:05:07+00:00"})"}},
      {"a record with a LF header: its CR are the message's own",
       "APP: /x: Thu Mar 16 10:00:00 2006\nCR\r\nCR LF\r\n",
       {R"({"exe":"/x","message":"CR\r\nCR LF\r","offset":0,"time":"2006-03-16T10:00:00+00:00"})"}},
      {"a record without its message",
       kA.substr(0, 50),
       {R"({"exe":"C:\\APPS\\STOCK.EXE","message":"","offset":0,)"
        R"("time":"2006-03-15T09:05:07+00:00","torn":true})"}},
      {"an unknown time",
       "APP: : ??? ??? ?? ??:??:?? ????\r\n\r\n",
       {R"({"exe":"","message":"","offset":0,"time":null})"}},
      {"not UTF-8, and the exact bytes beside it",
       "APP: C:\\\xC9.EXE: Wed Mar 15 09:05:07 2006\r\n\xFF\r\nx\r\n",
       {"{\"exe\":\"C:\\\\\xEF\xBF\xBD.EXE\",\"exe_hex\":\"433a5cc92e455845\",\"message\":\""
        "\xEF\xBF\xBD\\nx\",\"message_hex\":\"ff0d0a78\",\"offset\":0,"
        "\"time\":\"2006-03-15T09:05:07+00:00\"}"}},
      {"no valid time, a misplaced colon, no year",
       "APP: C:\\A.EXE: Wed Mar 32 09:05:07 2006\nAPP: /x: Wed Mar 15 09:05.07 2006\n"
       "APP: /x: Wed Mar 15 09:05:07 \n",
       {R"({"offset":0,"record":false,"text":"APP: C:\\A.EXE: Wed Mar 32 09:05:07 2006\n)"
        R"(APP: /x: Wed Mar 15 09:05.07 2006\nAPP: /x: Wed Mar 15 09:05:07 \n"})"}},
      {"a header further from its line end than a header can be",
       far_header + "\n",
       {R"({"offset":0,"record":false,"text":")" + far_header + R"(\n"})"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (std::size_t split = 0; split <= c.log.size(); ++split) {
      ASSERT_EQ(JsonEntries(c.log, split), c.want) << "split at " << split;
    }
  }
}

TEST(RecordReader, PassesBytesOfNoRecordInPiecesAndHoldsRecordsWhole) {
  const std::string message(200 * 1024, 'm');
  const struct {
    std::string log;
    std::vector<std::size_t> sizes;  // of the entries
    std::string kinds;               // r: record, c: piece cut mid-line, p: other piece
    std::size_t piece = RecordReader::kRecordPiece;
  } cases[] = {
      {std::string(200 * 1024, 'x'), {65536, 65536, 65536, 8192}, "cccp"},
      {std::string(100 * 1024, '\n'), {65536, 36864}, "pp"},
      {kA + message, {kA.size() + message.size()}, "r"},
      {std::string(70000, 'x') + kA, {65536, 70000 - 65536, kA.size()}, "cpr"},
      {kB.substr(0, kB.find('\n') + 1) + "abc\r\nxyz\r\n", {kB.find('\n') + 4, 4, 3}, "rrr", 4},
  };
  for (const auto& c : cases) {
    std::vector<std::size_t> sizes;
    std::string kinds;
    RecordReader reader(
        [&](LogEntry& entry) {
          sizes.push_back(entry.text.size());
          kinds += entry.is_record ? 'r' : entry.cut ? 'c' : 'p';
        },
        0, c.piece);
    for (std::size_t at = 0; at < c.log.size(); at += 4000) {
      reader.Feed(std::string_view(c.log).substr(at, 4000));
    }
    reader.Finish();
    EXPECT_EQ(sizes, c.sizes);
    EXPECT_EQ(kinds, c.kinds);
  }
}

TEST(WhenInstant, ReadsTheFormsOfTime) {
  const std::time_t now = 1165512411;  // Thu Dec  7 17:26:51 2006 UTC
  const auto key = [](const char* iso) { return LocalInstant(*ParseIsoTime(iso)); };
  const struct {
    const char* text;
    std::optional<std::int64_t> want;
  } cases[] = {
      {"Wed Mar 15 09:05:07 2006", key("2006-03-15T09:05:07")},
      {"Wed Mar  5 09:05:07 2006", key("2006-03-05T09:05:07")},
      {"2006-12-07", key("2006-12-07T00:00:00")},
      {"2006-12-07 10:00", key("2006-12-07T10:00:00")},
      {"-90s", key("2006-12-07T17:25:21")},
      {"-7d", key("2006-11-30T17:26:51")},
      {"-10000d", key("1979-07-22T17:26:51")},
      {"36600 days ago", now - 36600LL * 86400},  // before 1970, which Windows cannot place
      {"-2w", key("2006-11-23T17:26:51")},
      {"now", key("2006-12-07T17:26:51")},
      {"today", key("2006-12-07T00:00:00")},
      {"yesterday", key("2006-12-06T00:00:00")},
      {"21:00", key("2006-12-07T21:00:00")},
      {"9:05:07", key("2006-12-07T09:05:07")},
      {"2 hours ago", key("2006-12-07T15:26:51")},
      {"90 s ago", key("2006-12-07T17:25:21")},
      {"1 minute ago", key("2006-12-07T17:25:51")},
      {"3d ago", key("2006-12-04T17:26:51")},
      {"5229 weeks ago", std::nullopt},
      {"2 m ago", std::nullopt},
      {"24:00", std::nullopt},
      {"-36601d", std::nullopt},  // more than about 100 years, in any unit
      {"-878401h", std::nullopt},
      {"-3162240001s", std::nullopt},
      {"Wed Feb 29 09:05:07 2006", std::nullopt},
      {"Wed Mar 15 9:05:07 2006", std::nullopt},
      {"2006-12-07T25:00", std::nullopt},
      {"tomorrow", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(WhenInstant(c.text, now), c.want);
  }
}

TEST(IsoText, CarriesTheOffsetTheZoneHadAtThatTime) {
  const struct {
    const char* tz;
    const char* time;
    const char* want;
  } cases[] = {
      {"CET-1CEST", "2026-07-01T12:00:00", "2026-07-01T12:00:00+02:00"},
      {"CET-1CEST", "2026-12-07T17:26:51", "2026-12-07T17:26:51+01:00"},
      {"UTC0", "2026-12-07T17:26:51", "2026-12-07T17:26:51+00:00"},
      {"EST5EDT", "2026-12-07T17:26:51", "2026-12-07T17:26:51-05:00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.tz) + " " + c.time);
    const ScopedEnv tz("TZ", c.tz);
    tzset();
    EXPECT_EQ(IsoText(*ParseIsoTime(c.time), LocalInstant(*ParseIsoTime(c.time))), c.want);
  }
  tzset();
}

// A header has no offset: in the hour the clock goes back its time is the first reading until a
// record of the second came before it. --since counts back from now in real time.
TEST(InstantReader, ReadsRecordsInTheRepeatedAndTheSkippedHour) {
  const ScopedEnv tz("TZ", "America/New_York");
  tzset();
  const std::time_t now = 1793513400;  // 2026-11-01 01:10 EST, the second 01:10
  if (LocalKey(now) != ParseIsoTime("2026-11-01T01:10")->Key()) {
    tzset();
    GTEST_SKIP() << "the C runtime does not know America/New_York";
  }
  const Matcher since{WhenInstant("30 minutes ago", now), {}, {}, {}, false};
  const struct {
    const char* time;  // in the order written
    const char* want;
    bool shown;  // by --since '30 minutes ago'
  } cases[] = {
      {"2026-11-01T00:55", "2026-11-01T00:55:00-04:00", false},
      {"2026-11-01T01:30", "2026-11-01T01:30:00-04:00", false},  // 40 minutes ago
      {"2026-11-01T01:50", "2026-11-01T01:50:00-04:00", true},   // 20 minutes ago
      {"2026-11-01T01:05", "2026-11-01T01:05:00-05:00", true},   // 5 minutes ago
      {"2026-03-08T02:30", "2026-03-08T02:30:00-05:00", false},  // the clock skipped it
  };
  InstantReader reader;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    LogEntry entry;
    entry.is_record = true;
    entry.time = ParseIsoTime(c.time);
    entry.instant = reader.Read(*entry.time);
    EXPECT_EQ(IsoText(*entry.time, entry.instant), c.want);
    EXPECT_EQ(since.Matches(entry), c.shown);
  }
  tzset();
}

std::vector<LogEntry> Entries(const std::string& log) {
  std::vector<LogEntry> entries;
  RecordReader reader([&](LogEntry& entry) { entries.push_back(entry); });
  reader.Feed(log);
  reader.Finish();
  return entries;
}

TEST(Matcher, SelectsByTimeProgramAndMessage) {
  const std::vector<LogEntry> entries = Entries("stray\n" + kA + kB);  // "stray", a, b
  const auto at = [](const char* iso) { return LocalInstant(*ParseIsoTime(iso)); };
  const struct {
    Matcher matcher;
    std::string want;
  } cases[] = {
      {{}, "sab"},
      {{at("2006-03-16"), {}, {}, {}, false}, "b"},
      {{{}, at("2006-03-16"), {}, {}, false}, "a"},
      {{{}, {}, {"stock.EXE"}, {}, false}, "a"},
      {{{}, {}, {"x.exe", "STOCK"}, {}, false}, "ab"},
      {{{}, {}, {}, {"one\nline"}, false}, "b"},
      {{{}, {}, {}, {"STRAY"}, false}, ""},
      {{{}, {}, {}, {"STRAY"}, true}, "s"},
      {{{}, {}, {}, {"Saved"}, true}, "a"},
      {{{}, {}, {}, {"none", "stray", "two"}, false}, "sb"},
      {{{}, {}, {"x.exe"}, {"saved", "two"}, false}, "b"},  // each filter, any of its values
  };
  for (const auto& c : cases) {
    std::string got;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (c.matcher.Matches(entries[i])) got += "sab"[i];
    }
    EXPECT_EQ(got, c.want) << ::testing::PrintToString(c.matcher.apps) << "|"
                           << ::testing::PrintToString(c.matcher.greps);
  }
}

TEST(Printers, PrintAsWrittenAndCount) {
  const std::vector<LogEntry> entries =
      Entries("stray" + std::string(70000, 'x') + "\n" + kB + kA + kB + kA.substr(0, 60));
  ASSERT_EQ(entries.size(), 6u);
  const std::string text = Printed([&](Output& out) {
    for (const LogEntry& entry : entries) PrintText(entry, false, out);
  });
  EXPECT_TRUE(text == "stray" + std::string(70000, 'x') + "\n" + kB + kA + kB + kA.substr(0, 60));
  EXPECT_EQ(NoteOn(entries[0], "a.log"), "a.log, byte 0: not a record, shown as it is");
  EXPECT_EQ(NoteOn(entries[2], "a.log"), "");
  EXPECT_EQ(NoteOn(entries[5], "a.log"), "a.log, byte " + std::to_string(entries[5].offset) +
                                             ": a record cut short, shown as it is");
  Counter counter;
  for (const LogEntry& entry : entries) counter.Add(entry);
  EXPECT_EQ(Printed([&](Output& out) { counter.Print(false, out); }),
            "      2 C:\\APPS\\STOCK.EXE\n      2 D:\\tools\\x.exe\n      2 (not a record)\n");
}

TEST(Escaped, ShowsControlBytesAsTextForATerminal) {
  const struct {
    std::string bytes, shown;
  } cases[] = {
      {"\x1b]0;PWNED\x07", "\\x1b]0;PWNED\\x07"},  // a new window title
      {"a\tb\r\n", "a\tb\r\n"},                    // tab and line ends are kept
      {"hidden\rshown\n", "hidden\\x0dshown\n"},   // a CR of its own is not
      {std::string("\0\x7f", 2), "\\x00\\x7f"},
      {"\x9b[2J", "\\x9b[2J"},                                       // C1 outside UTF-8
      {"\xc2\x9b[2J", "\\xc2\\x9b[2J"},                              // and as a UTF-8 character
      {"\xc3\xa9 \xe2\x82\xac \xe9", "\xc3\xa9 \xe2\x82\xac \xe9"},  // é € and Latin-1 é
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(Escaped(c.bytes), c.shown);
  }
}

TEST(ForEachLine, HandsOnLinesWithoutTheirEnds) {
  std::string long_input, long_want;
  for (int i = 0; i < 20000; ++i) {  // lines and CR LF pairs straddle the read blocks
    const std::string line = std::to_string(i) + std::string(i == 7777 ? 300000 : i % 37, 'x');
    long_input += line + (i % 2 == 0 ? "\r\n" : "\n");
    long_want += line + "|";
  }
  const struct {
    std::string input, want;
  } cases[] = {
      {"a\nb\r\nc", "a|b|c|"},  // the last line needs no LF
      {"a\rB\n\n", "a\rB||"},   // a CR inside a line is data
      {"x\r", "x\r|"},          // and so is one at the end without LF
      {std::string("\0\n", 2), std::string("\0|", 2)},
      {"", ""},
      {long_input, long_want},
  };
  const testing::TempDir dir;
  for (const auto& c : cases) {
    std::ofstream(dir.path() + "in", std::ios::binary) << c.input;
    std::string problem;
    const int fd = OpenForReading(dir.path() + "in", &problem);
    std::string got;
    Status status = kOk;
    Printed([&](Output& out) {
      status = ForEachLine(fd, out, [&](std::string_view line) {
        got.append(line).append("|");
        return line == "b" ? kNoResult : kOk;
      });
    });
    EXPECT_EQ(status, c.want.find("b|") == std::string::npos ? kOk : kNoResult);
    CloseFile(fd);
    EXPECT_TRUE(got == c.want) << got.size() << " bytes, want " << c.want.size();
  }
}

// A listing taken during renames may miss a name below one it shows, and a writer may append to
// a generation after ten newer ones came: each record passes on once all the same.
TEST(LogFiles, PassesEveryRecordOnceWhateverAListingMissesOrHowLateItLands) {
  const testing::TempDir dir;
  const std::string log = dir.path() + "app.log";
  const auto generation = [&](int n) { return dir.path() + "app." + std::to_string(n) + ".log"; };
  std::vector<std::string> shown, want = {"a", "b", "c", "d", "e", "2", "1"};
  bool miss = false;  // the first listing after the quiet looks misses app.1.log
  int listings = 0;
  LogFiles files(
      log, true,
      [&](LogEntry& entry, const std::string&) {
        shown.emplace_back(entry.message());
        return true;
      },
      [&](std::string_view path) {
        std::vector<Generation> listed = ListGenerations(path);
        if (std::exchange(miss, false)) listed.erase(listed.begin());
        ++listings;
        return listed;
      });
  std::filesystem::create_directory(generation(99));  // a stranger: skipped, and closed again
  const std::size_t handles = testing::OpenHandleCount();
  std::string problem;
  // Quiet looks list no folder; a new log, or one written anew ("d"), is listed at the next look.
  const std::pair<const char*, int> quiet[] = {{"a", 1}, {"b", 2}, {"c", 2}, {"d", 2}, {"e", 3}};
  for (const auto& [message, listed] : quiet) {
    std::ofstream(log, *message == 'd' ? std::ios::trunc : std::ios::app)
        << "APP: /x: Wed Mar 15 09:05:07 2006\n"
        << message << "\n";
    ASSERT_TRUE(files.Look(&problem, {})) << problem;
    EXPECT_EQ(listings, listed) << message;
  }
  miss = true;
  for (int n = 1; n <= 15; ++n) {  // rotations as writers make them; 15: a late append to app.3
    std::ofstream(n < 15 ? log : generation(3), std::ios::app)
        << "APP: /x: Wed Mar 15 09:05:07 2006\n"
        << n << "\n";
    if (n < 15) std::rename(log.c_str(), generation(n).c_str());
    if (n > 2) want.push_back(std::to_string(n));
    ASSERT_TRUE(n == 1 || files.Look(&problem, {})) << problem;
  }
  EXPECT_EQ(shown, want);
  EXPECT_EQ(testing::OpenHandleCount(), handles);
}

TEST(Cursor, ReadsBackWhatItWritesAndNothingElse) {
  const std::string kept =
      "zyl-cursor 2\nlog 3 C:\\\\ZYL.LOG\nfile 7 42 5 1024 - a\\nb\\r\n"
      "file 7 43 0 9 41505020 c d\n";
  const struct {
    std::string text;
    bool cursor;
  } cases[] = {
      {kept, true},
      {"zyl-cursor 2\n", true},                  // nothing read yet
      {kept.substr(0, kept.size() - 1), false},  // cut short
      {"zyl-cursor 3\n", false},
      {"zyl-cursor 1\nfile 7 42 -1 - a\n", false},
      {"zyl-cursor 1\nfile 7 42 1 4150502 a\n", false},  // half a byte of its head
      {"zyl-cursor 1\nfile 7 42 1 4F a\n", false},       // hex it never writes
      {"zyl-cursor 1\nlog 3 a\\x\n", false},             // an escape it never writes
      {"zyl-cursor 2\nfile 7 42 0 1 " + std::string(2 * kHeadSize, 'a') + " a\n", true},
      {"zyl-cursor 1\nfile 7 42 1 " + std::string(2 * kHeadSize + 2, 'a') + " a\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<Cursor> cursor = ParseCursor(c.text);
    ASSERT_EQ(cursor.has_value(), c.cursor);
    if (cursor) {
      EXPECT_EQ(CursorText(*cursor), c.text);
    }
  }
  EXPECT_EQ(ParseCursor(kept)->files.at(0).name, "a\nb\r");
  EXPECT_EQ(ParseCursor(kept)->files.at(1).head, "APP ");
  EXPECT_EQ(CursorText(*ParseCursor("zyl-cursor 1\nfile 7 42 9 - c\n")),  // before the birth time
            "zyl-cursor 2\nfile 7 42 0 9 - c\n");
}

// 'log' finds its record where its append put it, in the file of that identity, renamed or not.
TEST(ConfirmAppended, FindsTheRecordOnlyWhereItWasAppended) {
  const testing::TempDir dir;
  const std::string log = dir.path() + "app.log";
  std::ofstream(log, std::ios::binary) << "before" << kA;
  const RecordPlace at{*platform::IdOfPath(log.c_str()), 6 + kA.size()};
  const std::string other = "the bytes where it was written are not its record";
  const struct {
    RecordPlace place;
    std::string record, problem;
  } cases[] = {
      {at, kA, ""},
      {at, "x" + kA.substr(1), other},
      {{at.file, at.end - 1}, kA, other},
      {{{at.file.volume, at.file.index + 1}, at.end}, kA, "the file it was written to is gone"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.problem);
    EXPECT_EQ(ConfirmAppended(log, c.place, c.record), c.problem);
  }
  ASSERT_EQ(std::rename(log.c_str(), (dir.path() + "app.1.log").c_str()), 0);
  EXPECT_EQ(ConfirmAppended(log, at, kA), "");
}

// A receiver drops doubles by file and offset, and gets bytes it cannot keep (a NUL, a stray
// byte) exactly in hex; the text itself goes as it is.
TEST(SyslogMessage, NamesTheRecordAndCarriesItsBytes) {
  const std::string start = "<14>1 - host zyl - - [zyl@32473 file=\"7:9\" offset=\"42\"";
  const std::string nul("n\0#0", 4);
  const struct {
    std::string text;
    MessageFacts facts;
    std::string want;
  } cases[] = {
      {"APP: /x: t\nmsg",
       {{{7, 9}, 42, 0}, {}, true, 11, false, {}},
       " header=\"11\"] APP: /x: t\nmsg"},
      {"a\r\nb", {{{7, 9}, 42, 0}, {}, true, 0, true, {}}, " crlf=\"true\"] a\r\nb"},
      {nul, {{{7, 9}, 42, 2}, {}, true, 0, false, {}}, " part=\"2\" hex=\"6e002330\"] " + nul},
      {"\xff stray",
       {{{7, 9}, 42, 0}, {}, false, 0, false, {}},
       " record=\"false\" hex=\"ff207374726179\"] \xff stray"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(SyslogMessage(c.text, c.facts, "host"), start + c.want);
  }
}

// Frames split anywhere wait for their rest; a frame that breaks the layout is no RELP.
TEST(RelpFrame, TakesWholeFramesOnly) {
  EXPECT_EQ(RelpFrame(7, "syslog", "a b\n"), "7 syslog 4 a b\n\n");
  EXPECT_EQ(RelpFrame(8, "close", ""), "8 close 0\n");
  const struct {
    std::string bytes;
    Parsed want;
    std::string data, rest;
  } cases[] = {
      {"3 rsp 6 200 OK\n4 rsp", Parsed::kWhole, "200 OK", "4 rsp"},
      {"0 serverclose 0\n", Parsed::kWhole, "", ""},
      {"3 rsp 6 200 O", Parsed::kPartial, "", "3 rsp 6 200 O"},
      {"3 rsp 6 200 OK!", Parsed::kMalformed, "", ""},  // no trailer
      {"x rsp 0\n", Parsed::kMalformed, "", ""},
      {std::string(80, '1'), Parsed::kMalformed, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    std::string bytes = c.bytes;
    RelpReply reply;
    ASSERT_EQ(TakeRelpFrame(bytes, &reply), c.want);
    if (c.want == Parsed::kMalformed) continue;
    EXPECT_EQ(reply.data, c.data);
    EXPECT_EQ(bytes, c.rest);
  }
}

}  // namespace
}  // namespace zyl::tool
