#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "diag/log_record.h"
#include "diag/log_rotation.h"
#include "frame/no_throw.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

const char* LogName = "C:\\ZYL.LOG";

namespace {

using zyl::log_record::kHeadBound;

void AppendRecord(const std::string& message) {
  const char* log_name = LogName;  // one read: callers may repoint it meanwhile
  if (log_name == nullptr) return;
  const std::int64_t now = zyl::platform::CalendarTime();
  const std::string_view newline = zyl::platform::TextNewline();

  // The whole record goes out in one append, so records written at once never tear. It is built
  // on the stack unless the message is long. A text-mode file stores every '\n' as the platform's
  // newline, so a message byte takes at most newline.size() bytes, two at most (a bound spares a
  // second scan).
  if (message.size() >= (SIZE_MAX - kHeadBound) / 2) return;  // could never be built
  const std::size_t size = kHeadBound + (message.size() + 1) * newline.size();
  char on_stack[1024];
  std::unique_ptr<char[]> on_heap;
  if (size > sizeof on_stack) on_heap = std::make_unique_for_overwrite<char[]>(size);
  char* const record = on_heap != nullptr ? on_heap.get() : on_stack;
  const char* const end = zyl::log_record::PutRecord(now, message, newline, record);
  // Ignore failures: the log has no one to report to.
  zyl::AppendRecord(log_name, {record, static_cast<std::size_t>(end - record)});
}

}  // namespace

void SendDebugMsg(const std::string& message) {
  zyl::NoThrow([&] { AppendRecord(message); });
}
