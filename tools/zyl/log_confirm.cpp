#include "log_confirm.h"

#include <chrono>
#include <string_view>
#include <thread>
#include <vector>

#include "diag/log_record.h"
#include "log_reader.h"
#include "platform/platform.h"
#include "system.h"

namespace zyl::tool {

std::string ConfirmAppended(const std::string& file, std::uint64_t from,
                            const std::string& message) {
  // The record as the library writes it: this program's path, every '\n' of the message in the
  // file's line-end form.
  char path[platform::kPathLimit];
  const std::string_view exe(path, log_record::PutProgramPath(path) - path);
  std::string stored;
  for (const char c : message) {
    if (c == '\n') {
      stored += platform::TextNewline();
    } else {
      stored.push_back(c);
    }
  }
  std::string problem;
  const int fd = OpenForReading(file, &problem);
  if (fd < 0) return "could not read it back: " + problem;
  bool found = false;
  LogParser parser([&](const LogEntry& entry) {
    found = found ||
            (entry.is_record && !entry.torn && entry.exe() == exe && entry.message() == stored);
  });
  // Windows refuses reads of a range another writer has locked for its append: they are tried
  // again for as long as writers wait for each other's lock.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  std::vector<char> block(64 * 1024);
  bool read = SeekTo(fd, from);
  while (read && !found) {
    const long got = ReadSome(fd, block.data(), block.size());
    if (got == 0) break;
    if (got > 0) {
      parser.Feed({block.data(), static_cast<std::size_t>(got)});
    } else if (std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      read = false;
    }
  }
  CloseFile(fd);
  if (!found) parser.Finish();
  if (found) return {};
  return read ? "its record is not in the file, whole" : "could not read it back";
}

}  // namespace zyl::tool
