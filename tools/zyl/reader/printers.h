#ifndef ZYL_TOOLS_ZYL_READER_PRINTERS_H_
#define ZYL_TOOLS_ZYL_READER_PRINTERS_H_

// The printers of 'zyl show': an entry as written, as a line of JSON, or counted per program.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "output.h"
#include "record_reader.h"

namespace zyl::tool {

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

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_PRINTERS_H_
