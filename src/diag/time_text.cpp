#include "diag/time_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <ctime>
#include <string_view>

#include "diag/log_record.h"
#include "platform/platform.h"

namespace zyl {
namespace {

// Four bytes each, the blank after the name included, so that each is one move.
constexpr char kDays[] = "Sun Mon Tue Wed Thu Fri Sat ";
constexpr char kMonths[] = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec ";

// Two places of `value` (0 to 99), `lead` standing in for a leading zero.
char* PutTwoDigits(unsigned value, char lead, char* out) {
  *out++ = value >= 10 ? static_cast<char>('0' + value / 10) : lead;
  *out++ = static_cast<char>('0' + value % 10);
  return out;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// localtime never yields anything else, but a field out of range would index past the names.
bool Plausible(const std::tm& tm) {
  return InRange(tm.tm_wday, 0, 6) && InRange(tm.tm_mon, 0, 11) && InRange(tm.tm_mday, 1, 31) &&
         InRange(tm.tm_hour, 0, 23) && InRange(tm.tm_min, 0, 59) && InRange(tm.tm_sec, 0, 60) &&
         // ctime gives up where tm_year + 1900 would overflow an int.
         tm.tm_year <= INT_MAX - 1900;
}

}  // namespace

char* PutCtimeText(std::int64_t seconds, char* out) {
  std::tm tm{};
  if (!platform::BrokenDownLocalTime(seconds, &tm) || !Plausible(tm)) {
    return std::copy(log_record::kUnknownTime.begin(), log_record::kUnknownTime.end(), out);
  }
  std::memcpy(out, kDays + 4 * tm.tm_wday, 4);
  std::memcpy(out + 4, kMonths + 4 * tm.tm_mon, 4);
  out = PutTwoDigits(static_cast<unsigned>(tm.tm_mday), ' ', out + 8);
  *out++ = ' ';
  out = PutTwoDigits(static_cast<unsigned>(tm.tm_hour), '0', out);
  *out++ = ':';
  out = PutTwoDigits(static_cast<unsigned>(tm.tm_min), '0', out);
  *out++ = ':';
  out = PutTwoDigits(static_cast<unsigned>(tm.tm_sec), '0', out);
  *out++ = ' ';
  // The year takes as many digits as it needs, sign included, as asctime's "%d" does.
  return std::to_chars(out, out + 11, 1900LL + tm.tm_year).ptr;
}

}  // namespace zyl
