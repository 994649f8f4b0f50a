// The record format is internal to the library: this binary links it from zyl_internal to feed
// it fixed times and paths; the log tests check the records the export writes.

#include "diag/log_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <tuple>

#include "log_test_util.h"
#include "platform/platform.h"

namespace {

using zyl::testing::CtimeStamp;
using zyl::testing::ScopedEnv;

namespace log_format = zyl::log_format;

// The header of a record by `exe`, at `local` (null: not known).
std::string Header(std::string_view exe, const std::tm* local, std::string_view newline) {
  char line[log_format::kLongestHeader + 2];
  return std::string(line, log_format::PutHeader(exe, local, newline, line));
}

// The time a header of `seconds` since 1970 carries, its newline after it.
std::string Format(std::int64_t seconds, std::string_view newline) {
  std::tm local;
  const bool known = zyl::platform::BrokenDownLocalTime(seconds, &local);
  return Header("", known ? &local : nullptr, newline).substr(7);  // after "APP: : "
}

// Sets TZ and makes the C runtime take it up at once; puts both back on scope exit.
class ScopedZone {
 public:
  explicit ScopedZone(const char* tz) {
    env_.emplace("TZ", tz);
    tzset();
  }
  ~ScopedZone() {
    env_.reset();
    tzset();
  }
  ScopedZone(const ScopedZone&) = delete;
  ScopedZone& operator=(const ScopedZone&) = delete;

 private:
  std::optional<ScopedEnv> env_;
};

TEST(PutHeader, WritesAsctimeFieldsInEnglish) {
  ScopedZone utc("UTC0");
  const struct {
    std::int64_t when;
    const char* want;
  } cases[] = {
      {0, "Thu Jan  1 00:00:00 1970"},
      {367628, "Mon Jan  5 06:07:08 1970"},  // day of month padded with a blank
      {951782400, "Tue Feb 29 00:00:00 2000"},
      {1142413507, "Wed Mar 15 09:05:07 2006"},
      {2147483647, "Tue Jan 19 03:14:07 2038"},
      {4102444799, "Thu Dec 31 23:59:59 2099"},  // past a 32-bit time_t
      {32503679999, "Tue Dec 31 23:59:59 2999"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(Format(c.when, "\n"), std::string(c.want) + "\n");
    EXPECT_EQ(Format(c.when, "\r\n"), std::string(c.want) + "\r\n");
  }
}

// A host that switches zones sets TZ and calls tzset(); the stamp follows as ctime does.
TEST(PutHeader, MatchesCtimeInEveryZoneAndRange) {
  // July of years INT_MAX and INT_MAX + 1: the last year ctime prints, the first it cannot.
  constexpr std::int64_t kYearIntMax = 67767976217678400, kYearPastIt = 67767976249300800;
  const std::int64_t times[] = {
      0,           1142413507,   1151712000,   // March and July: either side of summer time
      1173596399,  1173596400,                 // where it begins in the US, 2007
      1194155999,  1194156000,                 // and where it ends: an hour comes twice
      -1,          -86400 * 366, 32535215999,  // where some runtimes give up
      32535216000, 253402300800,               // year 3001, year 10000
      kYearIntMax, kYearPastIt,                // where a year no longer fits in an int
      INT64_MAX,                               // far past any calendar
  };
  for (const char* tz : {"UTC0", "JST-9", "EST5EDT", "NZST-12NZDT"}) {
    const ScopedZone zone(tz);
    for (const std::int64_t when : times) {
      if (static_cast<std::time_t>(when) != when) continue;  // past this runtime's ctime
      SCOPED_TRACE(testing::Message() << "TZ=" << tz << " time " << when);
      const std::string got = Format(when, "\n");
      const std::string want = CtimeStamp(when);
      if (want.empty()) {
        // Only the width is promised where ctime has no answer.
        EXPECT_EQ(got.size(), 25u);
      } else {
        EXPECT_EQ(got, want + "\n");
      }
    }
  }
}

// What is written reads back the same. What the format cannot tell: a message line that is, or
// ends in, a header's form starts a new record to any reader; and a record cut short within its
// header, with the header after it, reads as one header whose path holds "APP: ".
TEST(LogFormat, ReadsBackWhatItWrites) {
  const auto at = [](long long year, int month, int mday, int wday) {
    std::tm t{};
    t.tm_year = static_cast<int>(year - 1900), t.tm_mon = month - 1, t.tm_mday = mday;
    t.tm_wday = wday, t.tm_hour = 23, t.tm_min = 5, t.tm_sec = 60;
    return std::optional<std::tm>(t);
  };
  const std::string path(258, 'p');  // with ": ", the longest
  const struct {
    std::string exe;
    std::optional<std::tm> local;  // none: not known
    std::string message, header;   // the header line without its line end
    std::string as_headers;        // the paths of message lines that read as headers
  } cases[] = {
      {"C:\\A.EXE", at(2006, 3, 5, 0), "a\nb", "APP: C:\\A.EXE: Sun Mar  5 23:05:60 2006", ""},
      {"/x", at(0, 1, 1, 6), "", "APP: /x: Sat Jan  1 23:05:60 0", ""},
      {"/x", at(-1, 12, 31, 5), "x\r", "APP: /x: Fri Dec 31 23:05:60 -1", ""},
      {"/x", at(10000, 2, 29, 2), "a\r\nb\r", "APP: /x: Tue Feb 29 23:05:60 10000", ""},
      {"/x", at(INT_MAX, 12, 31, 4), "\n\n", "APP: /x: Thu Dec 31 23:05:60 2147483647", ""},
      {"/x", at(INT_MIN + 1900LL, 1, 1, 0), "", "APP: /x: Sun Jan  1 23:05:60 -2147481748", ""},
      // Past ctime's range, out of range or not known: the filler.
      {"/x", at(INT_MAX + 1LL, 1, 1, 0), "", "APP: /x: ??? ??? ?? ??:??:?? ????", ""},
      {"/x", at(2006, 13, 1, 0), "", "APP: /x: ??? ??? ?? ??:??:?? ????", ""},
      {"/x", std::nullopt, "m", "APP: /x: ??? ??? ?? ??:??:?? ????", ""},
      {"", at(2006, 3, 15, 3), "", "APP: : Wed Mar 15 23:05:60 2006", ""},
      {"/a/APP: b: c/APP: d", at(2006, 3, 15, 3), "APP: x",
       "APP: /a/APP: b: c/APP: d: Wed Mar 15 23:05:60 2006", ""},
      {path + ": ", at(2006, 3, 15, 3), "", "APP: " + path + ": : Wed Mar 15 23:05:60 2006", ""},
      {"/x", at(2006, 3, 15, 3),
       "APP: /y: Wed Mar 15 09:05:07 2006\nz\nhalfAPP: /z: ??? ??? ?? ??:??:?? ????\nAPP: /y: x",
       "APP: /x: Wed Mar 15 23:05:60 2006", "/y|/z|"},
  };
  for (const auto& c : cases) {
    for (const std::string_view newline : {"\n", "\r\n"}) {
      SCOPED_TRACE(::testing::PrintToString(c.header + c.message + std::string(newline)));
      std::string record = Header(c.exe, c.local ? &*c.local : nullptr, newline);
      ASSERT_EQ(record, c.header + std::string(newline));
      record.resize(record.size() + (c.message.size() + 1) * newline.size());
      const std::size_t body = c.header.size() + newline.size();
      record.resize(log_format::PutMessage(c.message, newline, &record[body]) - record.data());
      std::optional<log_format::Header> first;  // line by line, as a reader takes it
      std::string as_headers;
      for (std::size_t start = 0, end; start < record.size(); start = end) {
        end = record.find('\n', start) + 1;
        const auto header =
            log_format::FindHeader(std::string_view(record).substr(start, end - start));
        if (header && start == 0) first = header;
        if (header && start != 0) as_headers.append(header->exe).append("|");
      }
      EXPECT_EQ(as_headers, c.as_headers);
      ASSERT_TRUE(first);
      EXPECT_EQ(first->begin, 0u);
      EXPECT_EQ(first->exe, c.exe);
      EXPECT_EQ(first->crlf, newline == "\r\n");
      const std::optional<log_format::Time> t = first->time;
      EXPECT_EQ(t.has_value(), c.header.back() != '?');
      if (t) {
        EXPECT_EQ(std::make_tuple(t->year, t->month, t->day, t->hour, t->minute, t->second),
                  std::make_tuple(c.local->tm_year + 1900LL, c.local->tm_mon + 1, c.local->tm_mday,
                                  23, 5, 60));
      }
      const std::string_view stored =
          log_format::WithoutLastLineEnd(std::string_view(record).substr(body), first->crlf);
      EXPECT_EQ(log_format::DecodeMessage(stored, first->crlf), c.message);
    }
  }
}

}  // namespace
