#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "diag/time_text.h"
#include "frame/no_throw.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

const char* LogName = "C:\\ZYL.LOG";

namespace {

// Text-mode output: every '\n' becomes the platform's newline.
void AppendText(std::string_view text, std::string_view newline, std::string* out) {
  if (newline == "\n") {
    out->append(text);
    return;
  }
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    out->append(text.substr(start, end - start));
    if (end == text.size()) break;
    out->append(newline);
    start = end + 1;
  }
}

void AppendRecord(const std::string& message) {
  const char* log_name = LogName;  // one read: callers may repoint it meanwhile
  if (log_name == nullptr) return;
  const std::int64_t now = zyl::platform::CalendarTime();
  const std::string_view newline = zyl::platform::TextNewline();

  // The whole record goes out in one append, so records written at once never tear.
  std::string record;
  record.reserve(64 + zyl::platform::kPathLimit + message.size() + message.size() / 8);
  record.append("APP: ");
  // The executable's path is read straight into the record, in a zero-filled block one byte
  // longer than the limit, so even a cut path ends in a NUL. A failed query may leave bytes
  // behind: the field is empty then.
  const std::size_t path_at = record.size();
  record.resize(path_at + zyl::platform::kPathLimit + 1);
  const bool known =
      zyl::platform::ModulePath(nullptr, &record[path_at], zyl::platform::kPathLimit) != 0;
  record.resize(path_at + (known ? std::strlen(&record[path_at]) : 0));
  record.append(": ");
  zyl::AppendCtimeText(now, newline, &record);
  AppendText(message, newline, &record);
  record.append(newline);
  // Ignore failures: the log has no one to report to.
  zyl::platform::AppendToFile(log_name, record);
}

}  // namespace

void SendDebugMsg(const std::string& message) {
  zyl::NoThrow([&] { AppendRecord(message); });
}
