#ifndef ZYL_TOOLS_ZYL_READER_SHOWN_H_
#define ZYL_TOOLS_ZYL_READER_SHOWN_H_

// What 'zyl show' makes of the entries it reads: those that match, held back for --last, on to
// the chosen printer.

#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "matcher.h"
#include "output.h"
#include "printers.h"
#include "record_reader.h"
#include "time_words.h"

namespace zyl::tool {

// The printer: counted per program, JSON lines, or the bytes as written; `escape` (for a
// terminal): control bytes escaped.
struct ShowStyle {
  bool count = false;
  bool json = false;
  bool escape = false;
};

class Shown {
 public:
  // `named`: the one file named, whose entries JSON gives without a file; empty for several.
  Shown(ShowStyle style, Matcher matcher, std::optional<std::uint64_t> last, std::string named,
        Output& out)
      : style_(style),
        matcher_(std::move(matcher)),
        last_(last),
        named_(std::move(named)),
        out_(out) {}
  ~Shown();
  Shown(const Shown&) = delete;
  Shown& operator=(const Shown&) = delete;

  // Whether the entry was taken: shown, held, or left out by a filter.
  bool Take(LogEntry& entry, const std::string& file);

  // At the end of what the file holds now: what --last held back goes out, and from then on
  // each entry as it comes.
  void EndOfFile();

  // The end: what is held goes out, then the counts; kNoResult when nothing was shown.
  Status Finish();

 private:
  struct Held {
    bool starts;  // a record, or the first of its pieces
    LogEntry entry;
    std::string file;
    std::size_t reread = 0;  // the size of its text, let go to be read again from `fd` at `at`
    int fd = -1;
    std::uint64_t at = 0;
    std::size_t size() const { return reread != 0 ? reread : entry.text.size(); }
  };

  void Hold(Held& held);
  int Reopened(const std::string& file);
  int Spill(Held& held);
  void ReadAgain(Held& held);
  void Print(const LogEntry& entry, const std::string& file);

  const ShowStyle style_;
  const Matcher matcher_;
  std::optional<std::uint64_t> last_;
  const std::string named_;
  Output& out_;
  InstantReader instants_;  // of the entries in the order taken
  std::deque<Held> held_;
  std::uint64_t held_records_ = 0;
  std::uint64_t held_bytes_ = 0;         // of the texts held
  std::map<std::string, int> reopened_;  // the files read again, by name
  struct CloseStream {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
  };
  std::unique_ptr<std::FILE, CloseStream> spill_;  // standard input's held bytes beyond
  std::uint64_t spilled_ = 0;
  bool spill_failed_ = false;
  Counter counter_;
  bool shown_ = false;
  bool after_cut_ = false;
  std::uint64_t end_ = 0;  // of the last entry printed, in its file
  std::string end_file_;
  bool open_line_ = false;  // it ended without a line end
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_SHOWN_H_
