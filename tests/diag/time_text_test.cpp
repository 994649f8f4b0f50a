// The stamp formatter is internal to the library: this binary links it from zyl_internal to feed
// it fixed times; the log tests check the stamp the export writes.

#include "diag/time_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "log_test_util.h"
#include "platform/platform.h"

namespace {

using zyl::testing::CtimeStamp;
using zyl::testing::ScopedEnv;

std::string Format(std::int64_t seconds, std::string_view newline) {
  char text[zyl::kCtimeTextBound];
  return std::string(text, zyl::PutCtimeText(seconds, text)).append(newline);
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

TEST(PutCtimeText, WritesAsctimeFieldsInEnglish) {
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
TEST(PutCtimeText, MatchesCtimeInEveryZoneAndRange) {
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

// The stamp's seconds are time()'s: the same clock, cut to whole seconds the same way. Watched
// across the turn of a second, where a clock rounded or read elsewhere would run ahead of it.
TEST(CalendarTime, GivesTheSecondsTimeGives) {
  const std::time_t start = std::time(nullptr);
  for (std::time_t after = start; after == start;) {
    const std::time_t before = std::time(nullptr);
    const std::int64_t now = zyl::platform::CalendarTime();
    after = std::time(nullptr);
    ASSERT_TRUE(before <= now && now <= after) << before << " " << now << " " << after;
  }
}

}  // namespace
