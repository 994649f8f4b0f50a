#ifndef ZYL_TOOLS_ZYL_MATCHER_H_
#define ZYL_TOOLS_ZYL_MATCHER_H_

// Which entries 'zyl show' shows: --since, --until, --app, --grep, --ignore-case.

#include "record_reader.h"

namespace zyl::tool {

struct Matcher {
  std::optional<std::int64_t> since, until;  // time keys
  std::string app;                           // part of the program's path, in any letter case
  std::string grep;          // part of the message (of the bytes, for what is no record)
  bool ignore_case = false;  // for grep

  bool Matches(const LogEntry& entry) const;
};

// Whether `part` occurs in `text`; `ignore_case`: in any ASCII letter case.
bool Contains(std::string_view text, std::string_view part, bool ignore_case);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_MATCHER_H_
