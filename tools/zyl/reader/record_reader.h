#ifndef ZYL_TOOLS_ZYL_READER_RECORD_READER_H_
#define ZYL_TOOLS_ZYL_READER_RECORD_READER_H_

// Reads back the debug log SendDebugMsg appends to (diag/log_format.h): a record is a header line
// and the message's lines, which run to the next header; the header's line end (LF or CR LF) is
// the record's. A header that starts in the middle of a line ends the record before it there:
// that record was cut short. Bytes that belong to no record are kept as entries of their own, in
// pieces of at most 64 KiB; a record longer than a piece (1 MiB) is passed on in pieces too.

#include <functional>

#include "time_words.h"

namespace zyl::tool {

struct LogEntry {
  std::uint64_t offset = 0;  // of its first byte in the file
  std::string text;          // its bytes as written, line ends included
  bool is_record = false;
  bool torn = false;  // a record cut short: no message line, or no line end after it
  bool cut = false;   // the next entry goes on with these bytes: the rest of their line or record
  std::size_t piece = 0;        // of a record passed in pieces: 1, 2, ...; 0 for a record whole
  std::optional<LogTime> time;  // none when not a record, or when its writer did not know it
  std::optional<std::int64_t> instant;  // of `time`, once read in the order written
  std::string program;                  // the program's path, in every piece of a record
  bool crlf = false;                    // the header ended in CR LF: a Windows record
  std::size_t message_begin = 0;  // where the line after the header starts; 0 in a later piece

  std::string_view exe() const { return program; }
  // The message's bytes in this entry as written, its inner line ends included, without the
  // record's last one.
  std::string_view message() const;
  // The same as its writer passed it: a Windows record's CR LF line ends back to LF.
  std::string MessageText() const;
};

// Turns the log's bytes, fed in blocks of any size, into entries; any split of the same bytes
// gives the same entries. Memory stays within a few pieces, never grows with the log or a record.
class RecordReader {
 public:
  using Sink = std::function<void(LogEntry& entry)>;  // may move from the entry
  static constexpr std::size_t kRecordPiece = 1024 * 1024;
  // Room for a UTF-8 character or a CR LF, which a piece never splits.
  static constexpr std::size_t kLeastPiece = 4;

  // `offset`: where in the file the first byte fed stands; `piece`: the most bytes of a record
  // (its header aside) or of no record in one entry, kLeastPiece or more.
  explicit RecordReader(Sink sink, std::uint64_t offset = 0, std::size_t piece = kRecordPiece);

  // Passes each entry that `bytes` completes to the sink.
  void Feed(std::string_view bytes);
  // The end of the log: passes on the entry in progress, torn when it is cut short.
  void Finish();
  // The end of what is written so far, while more may come: passes on the entry in progress when
  // it is whole as it stands. SendDebugMsg appends a record in one write, so at the end of the
  // file a record with a message line and a final line end is complete.
  void PassWhole();
  // The log started anew: finishes the old one and reads the next bytes as from offset 0.
  void Restart();

 private:
  void TakeLine(std::string_view line);
  void Append(std::string_view bytes);
  void PassPiece();
  void Start(bool is_record);
  void Complete();

  Sink sink_;
  std::uint64_t offset_;     // of the next byte to enter an entry
  std::size_t piece_;        // of a record
  std::size_t stray_piece_;  // of bytes of no record
  std::string line_;         // the end of a line not yet whole
  bool active_ = false;      // an entry is in progress
  LogEntry entry_;
};

// ReadSome, with a read the system refuses tried again within diag/retry.h's bound: Windows
// refuses reads of a range another writer has locked for its append.
long ReadPatiently(int fd, char* buf, std::size_t size);

// Feeds `reader` what the file `fd` holds from its position on, in blocks of 64 KiB, while
// `go_on` (when given) agrees, calling `before_wait` (when given) whenever a read would wait for
// input. A read the system refuses is tried again as ReadPatiently does. Returns
// the count of bytes fed; -1, with errno set, when the file cannot be read.
long long FeedFrom(int fd, RecordReader& reader, const std::function<bool()>& go_on = {},
                   const std::function<void()>& before_wait = {});

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_RECORD_READER_H_
