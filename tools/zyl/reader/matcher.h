#ifndef ZYL_TOOLS_ZYL_READER_MATCHER_H_
#define ZYL_TOOLS_ZYL_READER_MATCHER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record_reader.h"

namespace zyl::tool {

// Which entries are shown: --since, --until, --app, --grep, --ignore-case. An entry matches
// each filter given; --app and --grep when any of their values does.
struct Matcher {
  std::optional<std::int64_t> since, until;  // instants
  std::vector<std::string> apps;             // parts of the program's path, in any letter case
  std::vector<std::string> greps;  // parts of the message (of the bytes, for what is no record)
  bool ignore_case = false;        // for greps

  bool Matches(const LogEntry& entry) const;
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_MATCHER_H_
