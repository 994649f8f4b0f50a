#ifndef ZYL_TOOLS_ZYL_SHOW_H_
#define ZYL_TOOLS_ZYL_SHOW_H_

// 'zyl show': reads the debug log back, filters its records and prints them as written, as JSON
// lines or counted per program; with --follow, as they are appended.

#include <cstdint>
#include <optional>
#include <string>

#include "output.h"
#include "record_reader.h"

namespace CLI {
class App;
}  // namespace CLI

namespace zyl::tool {

struct ShowOptions {
  std::string file;  // "-": standard input
  std::string since, until, app, grep, last;
  bool ignore_case = false;
  bool json = false;
  bool count = false;
  bool follow = false;
};

// Which entries are shown: --since, --until, --app, --grep, --ignore-case.
struct Matcher {
  std::optional<std::int64_t> since, until;  // time keys
  std::string app;                           // part of the program's path, in any letter case
  std::string grep;          // part of the message (of the bytes, for what is no record)
  bool ignore_case = false;  // for grep

  bool Matches(const LogEntry& entry) const;
};

// The options and arguments of 'show', read into `options`.
void DefineShow(CLI::App* app, ShowOptions* options);

Status RunShow(const ShowOptions& options, Output& out);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_SHOW_H_
