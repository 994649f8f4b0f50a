#ifndef ZYL_TOOLS_ZYL_LOG_READER_H_
#define ZYL_TOOLS_ZYL_LOG_READER_H_

// Reads back the debug log SendDebugMsg appends to. A record is a header line,
//   "APP: " executable path ": " local time in ctime's form ("Wed Mar 15 09:05:07 2006")
// and the message's lines, which run to the next header line; line ends are LF or CR LF. Lines
// before the first header are kept as an entry of their own that is not a record. A header that
// starts in the middle of a line ends the record before it there: that record was cut short.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "line_splitter.h"

namespace zyl::tool {

// A local date and time as the records give it.
struct LogTime {
  std::int64_t year = 0;
  int month = 0, day = 0, hour = 0, minute = 0, second = 0;

  // Seconds from a fixed day: orders times without knowing the time zone.
  std::int64_t Key() const;
};

// Exactly "Wed Mar 15 09:05:07 2006": English names, the day of month two places wide (a blank
// or a zero before one digit), a year of any length. The day of the week is not checked.
std::optional<LogTime> ParseCtime(std::string_view text);

// "2026-12-07", "2026-12-07T10:00" or "2026-12-07T10:00:05"; a blank may stand for the T.
std::optional<LogTime> ParseIsoTime(std::string_view text);

struct LogEntry {
  std::uint64_t offset = 0;  // of its first byte in the file
  std::string text;          // its bytes as written, line ends included
  bool is_record = false;
  bool torn = false;            // a record cut short: no message line, or no line end after it
  std::optional<LogTime> time;  // none when not a record, or when its writer did not know it
  std::size_t exe_begin = 0;
  std::size_t exe_size = 0;
  std::size_t message_begin = 0;  // where the line after the header starts

  std::string_view exe() const { return std::string_view(text).substr(exe_begin, exe_size); }
  // The message as written, its inner line ends included, without the record's last one.
  std::string_view message() const;
};

// Turns the log's bytes, fed in blocks of any size, into entries. Memory grows with the longest
// record (or line), never with the log: bytes that are no record come in entries of about 64 KiB.
class LogParser {
 public:
  using Sink = std::function<void(LogEntry& entry)>;  // may move from the entry
  explicit LogParser(Sink sink) : sink_(std::move(sink)) {}

  // Passes each entry that `bytes` completes to the sink.
  void Feed(std::string_view bytes);
  // The end of the log: passes on the entry in progress, torn when it is cut short.
  void Finish();
  // The end of what is written so far, while more may come: passes on the entry in progress when
  // it is whole as it stands. SendDebugMsg appends a record in one write, so at the end of the
  // file a record with a message line and a final line end is complete.
  void PassWhole();
  // The log started anew: finishes the old one and reads the next bytes from offset 0.
  void Restart();

 private:
  void TakeLine(std::string_view line);
  void Start(std::uint64_t offset, bool is_record);
  void Complete();

  Sink sink_;
  LineSplitter lines_;
  std::uint64_t offset_ = 0;  // of the next line
  bool active_ = false;       // an entry is in progress
  LogEntry entry_;
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_LOG_READER_H_
