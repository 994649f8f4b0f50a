#ifndef ZYL_TOOLS_ZYL_PRINT_H_
#define ZYL_TOOLS_ZYL_PRINT_H_

// How 'zyl show' prints the entries it shows: as written (print_text.cpp), as JSON lines
// (print_json.cpp) or counted per program (print_count.cpp).

#include <map>

#include "output.h"
#include "record_reader.h"

namespace zyl::tool {

// Writes the entry's bytes, and a line end when they have none and the next entry does not go on
// with them.
void PrintText(const LogEntry& entry, Output& out);

// What standard error says about an entry that is no whole record (empty for one that is):
// "FILE, byte N: not a record, shown as it is".
std::string NoteOn(const LogEntry& entry, std::string_view file);

// The entry as one line of JSON, without its line end: offset; for a record time, exe, message
// (line ends as LF) and torn when it was cut short; otherwise "record": false and text. A text
// that is not UTF-8 has U+FFFD for each stray byte and the file's exact bytes in hex beside it
// (exe_hex, message_hex, text_hex).
std::string JsonLine(const LogEntry& entry);

class Counter {
 public:
  void Add(const LogEntry& entry);
  // One line per program, most records first, then "(not a record)" for the pieces of no
  // record: the count seven places wide, a blank and the program's path.
  void Print(Output& out) const;

 private:
  std::map<std::string, std::uint64_t, std::less<>> counts_;
  std::uint64_t strays_ = 0;
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_PRINT_H_
