#include "diag/time_text.h"

#include "platform/platform.h"

namespace zyl {
namespace {

constexpr char kDays[] = "SunMonTueWedThuFriSat";
constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

void AppendDigits(unsigned value, int places, char pad, std::string* out) {
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && count < 10);
  for (int i = count; i < places; ++i) out->push_back(pad);
  while (count > 0) out->push_back(digits[--count]);
}

}  // namespace

void AppendCtimeText(std::time_t when, std::string_view newline, std::string* out) {
  std::tm tm{};
  const bool known = platform::LocalTime(when, &tm) && tm.tm_wday >= 0 && tm.tm_wday < 7 &&
                     tm.tm_mon >= 0 && tm.tm_mon < 12 && tm.tm_year >= -1900;
  if (!known) {
    out->append("??? ??? ?? ??:??:?? ????").append(newline);
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
  AppendDigits(static_cast<unsigned>(tm.tm_year) + 1900u, 1, '0', out);
  out->append(newline);
}

}  // namespace zyl
