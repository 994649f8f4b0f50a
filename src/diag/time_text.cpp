#include "diag/time_text.h"

#include <climits>
#include <ctime>

#include "platform/platform.h"

namespace zyl {
namespace {

constexpr char kDays[] = "SunMonTueWedThuFriSat";
constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr std::string_view kUnknownTime = "??? ??? ?? ??:??:?? ????";  // as wide as a known one

void AppendDigits(unsigned long long value, int places, char pad, std::string* out) {
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = count; i < places; ++i) out->push_back(pad);
  while (count > 0) out->push_back(digits[--count]);
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

void AppendCtimeText(std::int64_t seconds, std::string_view newline, std::string* out) {
  std::tm tm{};
  if (!platform::LocalTime(seconds, &tm) || !Plausible(tm)) {
    out->append(kUnknownTime).append(newline);
    return;
  }
  out->append(kDays + 3 * tm.tm_wday, 3).push_back(' ');
  out->append(kMonths + 3 * tm.tm_mon, 3).push_back(' ');
  AppendDigits(static_cast<unsigned>(tm.tm_mday), 2, ' ', out);
  out->push_back(' ');
  AppendDigits(static_cast<unsigned>(tm.tm_hour), 2, '0', out);
  out->push_back(':');
  AppendDigits(static_cast<unsigned>(tm.tm_min), 2, '0', out);
  out->push_back(':');
  AppendDigits(static_cast<unsigned>(tm.tm_sec), 2, '0', out);
  out->push_back(' ');
  // The year takes as many digits as it needs, as asctime's "%d" does, sign included.
  const long long year = 1900LL + tm.tm_year;
  if (year < 0) out->push_back('-');
  AppendDigits(static_cast<unsigned long long>(year < 0 ? -year : year), 1, '0', out);
  out->append(newline);
}

}  // namespace zyl
