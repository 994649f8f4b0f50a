#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "diag/time_text.h"
#include "frame/startup.h"
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

}  // namespace

void SendDebugMsg(const std::string& message) {
  const char* log_name = LogName;  // one read: callers may repoint it meanwhile
  if (log_name == nullptr) return;
  const std::int64_t now = zyl::platform::CalendarTime();
  auto exe = std::make_unique<char[]>(zyl::kPathLimit + 1);  // zero-filled: always terminated
  // A failed query may leave bytes behind: the field is empty then. A cut one ends at its NUL.
  const std::string_view exe_path =
      zyl::platform::ModulePath(nullptr, exe.get(), zyl::kPathLimit) == 0
          ? std::string_view()
          : std::string_view(exe.get(), std::strlen(exe.get()));
  const std::string_view newline = zyl::platform::TextNewline();

  // The whole record goes out in one append, so records written at once never tear.
  std::string record;
  record.reserve(64 + zyl::kPathLimit + message.size() + message.size() / 8);
  record.append("APP: ").append(exe_path).append(": ");
  zyl::AppendCtimeText(now, newline, &record);
  AppendText(message, newline, &record);
  record.append(newline);
  // Ignore failures: the log has no one to report to.
  zyl::platform::AppendToFile(log_name, record);
}
