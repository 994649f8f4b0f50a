#include "record_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "diag/log_format.h"
#include "diag/retry.h"
#include "system.h"

namespace zyl::tool {
namespace {

constexpr std::size_t kStrayPiece = 64 * 1024;

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where to end a piece of `text` near `at`, but not before `least`: not within a UTF-8 character
// or a CR LF, which a reader of the pieces decodes one piece at a time.
std::size_t PieceEnd(std::string_view text, std::size_t least, std::size_t at) {
  std::size_t end = at;
  while (end > least && at - end < 3 && IsUtf8Continuation(text[end])) --end;
  // At `least` the CR LF goes whole into this piece: `at` is past `least` + 2, so it still fits.
  if (text[end - 1] == '\r' && text[end] == '\n') end += end > least ? -1 : 1;
  return end;
}

}  // namespace

std::string_view LogEntry::message() const {
  const std::string_view body = std::string_view(text).substr(message_begin);
  return cut ? body : log_format::WithoutLastLineEnd(body, crlf);
}

std::string LogEntry::MessageText() const { return log_format::DecodeMessage(message(), crlf); }

RecordReader::RecordReader(Sink sink, std::uint64_t offset, std::size_t piece)
    : sink_(std::move(sink)),
      offset_(offset),
      piece_(std::max(piece, kLeastPiece)),
      stray_piece_(std::min(piece_, kStrayPiece)) {}

void RecordReader::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const void* lf = std::memchr(bytes.data(), '\n', bytes.size());
    const std::size_t size =
        lf == nullptr ? bytes.size() : static_cast<const char*>(lf) - bytes.data() + 1;
    if (lf != nullptr && line_.empty()) {
      TakeLine(bytes.substr(0, size));
    } else {
      line_.append(bytes.substr(0, size));
      if (lf != nullptr) {
        TakeLine(line_);
        line_.clear();
      } else if (line_.size() >= log_format::kHeadBound + stray_piece_) {
        // A line without an end yet: all but its tail, where a header may start, belongs to what
        // is in progress.
        Append(std::string_view(line_).substr(0, line_.size() - log_format::kHeadBound));
        line_.erase(0, line_.size() - log_format::kHeadBound);
      }
    }
    bytes.remove_prefix(size);
  }
}

void RecordReader::Finish() {
  const std::string last = std::exchange(line_, {});
  if (!last.empty()) TakeLine(last);
  Complete();
}

void RecordReader::PassWhole() {
  if (active_ && line_.empty() &&
      (!entry_.is_record || entry_.message_begin < entry_.text.size())) {
    Complete();
  }
}

void RecordReader::Restart() {
  Finish();
  offset_ = 0;
}

void RecordReader::TakeLine(std::string_view line) {
  const std::optional<log_format::Header> header = log_format::FindHeader(line);
  // Bytes before a header, or after none yet, belong to what is in progress, or to no record.
  Append(line.substr(0, header ? header->begin : line.size()));
  if (!header) return;
  Complete();  // a record that lost its line end to the header is cut short
  Start(true);
  entry_.text.assign(line.substr(header->begin));
  if (header->time) entry_.time = LogTime{*header->time};
  entry_.program.assign(header->exe);
  entry_.crlf = header->crlf;
  entry_.message_begin = entry_.text.size();
  offset_ += entry_.text.size();
}

void RecordReader::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    if (!active_) Start(false);
    if (entry_.is_record) {
      entry_.text.append(bytes);
      offset_ += bytes.size();
      while (entry_.text.size() > entry_.message_begin + piece_) PassPiece();
      return;
    }
    // A foreign file passes in pieces: memory must not grow with it.
    const std::size_t size = std::min(bytes.size(), stray_piece_ - entry_.text.size());
    entry_.text.append(bytes.substr(0, size));
    offset_ += size;
    bytes.remove_prefix(size);
    if (entry_.text.size() == stray_piece_) {
      entry_.cut = entry_.text.back() != '\n';
      Complete();
    }
  }
}

void RecordReader::PassPiece() {
  const std::size_t end =
      PieceEnd(entry_.text, entry_.message_begin + 1, entry_.message_begin + piece_);
  LogEntry next;  // the record goes on
  next.offset = entry_.offset + end;
  next.text.assign(entry_.text, end);
  next.is_record = true;
  next.piece = std::max<std::size_t>(entry_.piece, 1) + 1;
  next.time = entry_.time;
  next.program = entry_.program;
  next.crlf = entry_.crlf;
  entry_.text.resize(end);
  entry_.cut = true;
  entry_.piece = next.piece - 1;
  Complete();
  entry_ = std::move(next);
  active_ = true;
}

void RecordReader::Start(bool is_record) {
  entry_.offset = offset_;
  entry_.is_record = is_record;
  entry_.cut = false;
  entry_.piece = 0;
  entry_.time.reset();
  entry_.program.clear();
  entry_.crlf = false;
  entry_.message_begin = 0;
  active_ = true;
}

void RecordReader::Complete() {
  if (!active_) return;
  entry_.torn = entry_.is_record && !entry_.cut &&
                (entry_.message_begin == entry_.text.size() || entry_.text.back() != '\n');
  active_ = false;
  sink_(entry_);
  entry_.text.clear();
}

long ReadPatiently(int fd, char* buf, std::size_t size) {
  long got = -1;
  RetryWhileBusy([&] {
    got = ReadSome(fd, buf, size);
    return got >= 0 ? platform::Try::kDone : platform::Try::kBusy;
  });
  return got;
}

long long FeedFrom(int fd, RecordReader& reader, const std::function<bool()>& go_on,
                   const std::function<void()>& before_wait) {
  std::string block(64 * 1024, '\0');
  long long fed = 0;
  while (!go_on || go_on()) {
    if (before_wait && !AwaitInput(fd, 0)) before_wait();
    const long got = ReadPatiently(fd, block.data(), block.size());
    if (got <= 0) return got < 0 ? -1 : fed;
    reader.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
    fed += got;
  }
  return fed;
}

}  // namespace zyl::tool
