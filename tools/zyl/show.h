#ifndef ZYL_TOOLS_ZYL_SHOW_H_
#define ZYL_TOOLS_ZYL_SHOW_H_

// 'zyl show': reads the debug log back, filters its records and prints them (printers.cpp) as
// written, as JSON lines or counted per program; with --follow (follow.cpp), as they are appended.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "log_files.h"
#include "output.h"
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

// Writes the entry's bytes as written; `escape`: Escaped, for a terminal.
void PrintText(const LogEntry& entry, bool escape, Output& out);

// What standard error says about an entry that is no whole record (empty for one that is):
// "FILE, byte N: not a record, shown as it is".
std::string NoteOn(const LogEntry& entry, std::string_view file);

// The entry as one line of JSON, without its line end: offset, and the file it counts in unless
// `file` is empty; for a record time, exe, message (a Windows record's line ends as LF) and torn
// when it was cut short, and for a record in pieces its piece (1, 2, ...) and more: true but in the
// last; otherwise "record": false and text. A text that is not UTF-8 has U+FFFD for each stray
// byte and the file's exact bytes in hex beside it (exe_hex, message_hex, text_hex). `escape` (for
// a terminal): DEL and the C1 controls too as \u escapes.
std::string JsonLine(const LogEntry& entry, bool escape = false, std::string_view file = {});

class Counter {
 public:
  void Add(const LogEntry& entry);
  // One line per program, most records first, then "(not a record)" for the pieces of no
  // record: the count seven places wide, a blank and the program's path (`escape`: Escaped).
  void Print(bool escape, Output& out) const;

 private:
  std::map<std::string, std::uint64_t, std::less<>> counts_;
  std::uint64_t strays_ = 0;
};

// Looks at `logs` four times a second, so each entry passes on once it is whole, and calls
// `looked` after each look; a status from it other than kOk ends the follow with that status.
// With `until` (an instant) it returns once that local time has passed: no record appended later
// can match. kFailed, with a complaint, when a file cannot be read.
Status Follow(const std::vector<std::unique_ptr<LogFiles>>& logs, std::optional<std::int64_t> until,
              const std::function<bool()>& go_on, const std::function<Status()>& looked);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_SHOW_H_
