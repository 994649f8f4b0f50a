#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "diag/log_record.h"
#include "diag/log_rotation.h"
#include "diag/time_text.h"
#include "frame/no_throw.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

const char* LogName = "C:\\ZYL.LOG";

namespace {

// The longest first line, its newline included.
constexpr std::size_t kHeadBound = zyl::log_record::kLongestHeader + 2;

char* Put(std::string_view text, char* out) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// A newline is one or two bytes: moved in place, without a call to memcpy.
char* PutNewline(std::string_view newline, char* out) {
  for (const char c : newline) *out++ = c;
  return out;
}

// `text` with each '\n' written as `newline`.
char* PutWithNewlines(std::string_view text, std::string_view newline, char* out) {
  if (newline == "\n") return Put(text, out);
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    out = Put(text.substr(start, end - start), out);
    if (end == text.size()) return out;
    out = PutNewline(newline, out);
    start = end + 1;
  }
}

// Writes the record to `out`, which has room for kHeadBound bytes besides the stored message and
// its newline; returns the end.
char* PutRecord(std::int64_t now, std::string_view message, std::string_view newline, char* out) {
  out = Put(zyl::log_record::kHeaderStart, out);
  out = Put(zyl::log_record::kBeforeTime, zyl::log_record::PutProgramPath(out));
  out = PutNewline(newline, zyl::PutCtimeText(now, out));
  return PutNewline(newline, PutWithNewlines(message, newline, out));
}

void AppendRecord(const std::string& message) {
  const char* log_name = LogName;  // one read: callers may repoint it meanwhile
  if (log_name == nullptr) return;
  const std::int64_t now = zyl::platform::CalendarTime();
  const std::string_view newline = zyl::platform::TextNewline();

  // The whole record goes out in one append, so records written at once never tear. It is built
  // on the stack unless the message is long. A text-mode file stores every '\n' as the platform's
  // newline, so a message byte takes at most newline.size() bytes (a bound spares a second scan).
  if (message.size() >= (SIZE_MAX - kHeadBound) / newline.size()) return;  // could never be built
  const std::size_t size = kHeadBound + (message.size() + 1) * newline.size();
  char on_stack[1024];
  std::unique_ptr<char[]> on_heap;
  if (size > sizeof on_stack) on_heap = std::make_unique_for_overwrite<char[]>(size);
  char* const record = on_heap != nullptr ? on_heap.get() : on_stack;
  const char* const end = PutRecord(now, message, newline, record);
  // Ignore failures: the log has no one to report to.
  zyl::AppendRecord(log_name, {record, static_cast<std::size_t>(end - record)});
}

}  // namespace

void SendDebugMsg(const std::string& message) {
  zyl::NoThrow([&] { AppendRecord(message); });
}
