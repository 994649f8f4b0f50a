#include "record_reader.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "diag/log_record.h"
#include "system.h"

namespace zyl::tool {
namespace {

using log_record::kBeforeTime;
using log_record::kHeaderStart;
using log_record::kUnknownTime;

constexpr std::size_t kPiece = 64 * 1024;
constexpr std::size_t kBeforeYear = 20;  // "Wed Mar 15 09:05:07 "
// The end of a line kept back until the line is whole: all of a header, and a line end.
constexpr std::size_t kLineTail = log_record::kLongestHeader + 2;

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

struct HeaderAt {
  std::size_t begin = 0;  // where "APP: " stands in the line
  std::size_t exe_size = 0;
  std::optional<LogTime> time;
};

// The record header that ends `body`, a line without its line end: from its first byte, or
// after the rest of a record cut short. It starts within the last kLongestHeader bytes, so the
// bytes before those can pass on before the line is whole.
std::optional<HeaderAt> FindHeader(std::string_view body) {
  // The time is ctime's 20 bytes and a year after its last blank, or the unknown time, as wide;
  // the path runs back from the ": " before it to the last "APP: ", as a record cut short within
  // its own header may come first.
  const std::size_t year_begin = body.rfind(' ') + 1;  // 0 without a blank
  if (year_begin < kHeaderStart.size() + kBeforeTime.size() + kBeforeYear) return std::nullopt;
  const std::size_t exe_end = year_begin - kBeforeYear - kBeforeTime.size();
  const std::size_t window = body.size() - std::min(body.size(), log_record::kLongestHeader);
  if (body.substr(exe_end, kBeforeTime.size()) != kBeforeTime) return std::nullopt;
  HeaderAt header;
  const std::string_view time = body.substr(exe_end + kBeforeTime.size());
  if (time != kUnknownTime && !(header.time = ParseCtime(time))) return std::nullopt;
  header.begin = body.rfind(kHeaderStart, exe_end - kHeaderStart.size());
  if (header.begin == std::string_view::npos || header.begin < window) return std::nullopt;
  header.exe_size = exe_end - header.begin - kHeaderStart.size();
  return header;
}

}  // namespace

std::string_view LogEntry::exe() const {
  return std::string_view(text).substr(kHeaderStart.size(), exe_size);
}

std::string_view LogEntry::message() const {
  return WithoutLineEnd(std::string_view(text).substr(message_begin));
}

std::string LogEntry::MessageText() const {
  const std::string_view message = this->message();
  std::string text;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message.compare(i, 2, "\r\n") != 0) text += message[i];
  }
  return text;
}

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
      } else if (line_.size() >= kLineTail + kPiece) {
        // A line without an end yet: all but its tail belongs to what is in progress.
        Append(std::string_view(line_).substr(0, line_.size() - kLineTail));
        line_.erase(0, line_.size() - kLineTail);
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
  const std::optional<HeaderAt> header = FindHeader(WithoutLineEnd(line));
  // Bytes before a header, or after none yet, belong to what is in progress, or to no record.
  Append(line.substr(0, header ? header->begin : line.size()));
  if (!header) return;
  Complete();  // a record that lost its line end to the header is cut short
  Start(true);
  entry_.text.assign(line.substr(header->begin));
  entry_.time = header->time;
  entry_.exe_size = header->exe_size;
  entry_.message_begin = entry_.text.size();
  offset_ += entry_.text.size();
}

void RecordReader::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    if (!active_) Start(false);
    const std::size_t size =
        entry_.is_record ? bytes.size() : std::min(bytes.size(), kPiece - entry_.text.size());
    entry_.text.append(bytes.substr(0, size));
    offset_ += size;
    bytes.remove_prefix(size);
    // A foreign file passes in pieces: memory must not grow with it.
    if (!entry_.is_record && entry_.text.size() == kPiece) {
      entry_.cut = entry_.text.back() != '\n';
      Complete();
    }
  }
}

void RecordReader::Start(bool is_record) {
  entry_.offset = offset_;
  entry_.is_record = is_record;
  entry_.cut = false;
  entry_.time.reset();
  entry_.exe_size = 0;
  entry_.message_begin = 0;
  active_ = true;
}

void RecordReader::Complete() {
  if (!active_) return;
  entry_.torn = entry_.is_record &&
                (entry_.message_begin == entry_.text.size() || entry_.text.back() != '\n');
  active_ = false;
  sink_(entry_);
  entry_.text.clear();
}

long long FeedFrom(int fd, RecordReader& reader, const std::function<bool()>& go_on) {
  // Windows refuses reads of a range another writer has locked for its append: they are tried
  // again for as long as writers wait for each other's lock.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  std::string block(64 * 1024, '\0');
  long long fed = 0;
  while (!go_on || go_on()) {
    const long got = ReadSome(fd, block.data(), block.size());
    if (got == 0) break;
    if (got > 0) {
      reader.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
      fed += got;
    } else if (std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      return -1;
    }
  }
  return fed;
}

}  // namespace zyl::tool
