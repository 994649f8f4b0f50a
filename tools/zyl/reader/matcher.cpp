// Which entries 'zyl show' shows: the time range and the --app and --grep texts.

#include "matcher.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace zyl::tool {
namespace {

// ASCII letters only: the log's bytes are those of some ANSI code page, unknown here.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `part` occurs in `text`; `ignore_case`: in any ASCII letter case.
bool Contains(std::string_view text, std::string_view part, bool ignore_case) {
  if (!ignore_case) return text.find(part) != std::string_view::npos;
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char a, char b) { return Upper(a) == Upper(b); }) != text.end();
}

bool ContainsAny(std::string_view text, const std::vector<std::string>& parts, bool ignore_case) {
  return std::any_of(parts.begin(), parts.end(),
                     [&](const std::string& part) { return Contains(text, part, ignore_case); });
}

}  // namespace

bool Matcher::Matches(const LogEntry& entry) const {
  if ((since || until || !apps.empty()) && !entry.is_record) return false;
  if (since || until) {
    const auto instant = entry.instant ? entry.instant
                         : entry.time  ? LocalInstant(*entry.time)
                                       : std::nullopt;
    if (!instant || (since && *instant < *since) || (until && *instant > *until)) return false;
  }
  if (!apps.empty() && !ContainsAny(entry.exe(), apps, true)) return false;
  return greps.empty() ||
         ContainsAny(entry.is_record ? entry.message() : std::string_view(entry.text), greps,
                     ignore_case);
}

}  // namespace zyl::tool
