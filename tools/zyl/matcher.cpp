#include "matcher.h"

#include <algorithm>

namespace zyl::tool {
namespace {

// ASCII letters only: the log's bytes are those of some ANSI code page, unknown here.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool Contains(std::string_view text, std::string_view part, bool ignore_case) {
  if (!ignore_case) return text.find(part) != std::string_view::npos;
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char a, char b) { return Upper(a) == Upper(b); }) != text.end();
}

bool Matcher::Matches(const LogEntry& entry) const {
  if ((since || until || !app.empty()) && !entry.is_record) return false;
  if (since || until) {
    if (!entry.time) return false;
    const std::int64_t key = entry.time->Key();
    if ((since && key < *since) || (until && key > *until)) return false;
  }
  if (!app.empty() && !Contains(entry.exe(), app, true)) return false;
  return grep.empty() || Contains(entry.is_record ? entry.message() : std::string_view(entry.text),
                                  grep, ignore_case);
}

}  // namespace zyl::tool
