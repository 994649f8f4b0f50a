#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "show.h"
#include "system.h"

namespace zyl::tool {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(250);
// The file's first bytes, kept to tell the same file grown from one started anew.
constexpr std::size_t kHeadSize = 256;

// Up to `size` bytes from the start of `fd`.
std::string ReadHead(int fd, std::size_t size) {
  std::string head(size, '\0');
  const long got = SeekTo(fd, 0) ? ReadSome(fd, head.data(), size) : -1;
  head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);  // a file reads whole, up to `size`
  return head;
}

}  // namespace

// The file is opened anew at every look and never held open: whoever starts the log anew may
// delete or rename it.
Status Follow(const std::string& file, std::uint64_t position, std::optional<std::int64_t> until,
              RecordReader& reader, Output& out) {
  std::string head;  // none yet: the file as read so far is the same file
  for (;;) {
    const bool last_round = until && LocalKey(std::time(nullptr)) > until;
    std::this_thread::sleep_for(kPollInterval);
    std::string problem;
    const int fd = OpenForReading(file, &problem);
    if (fd >= 0) {
      if (StatFile(file).size < position || ReadHead(fd, head.size()) != head) {
        reader.Restart();
        position = 0;
        head.clear();  // the old file's, which the new one would never match
      }
      const long long fed = SeekTo(fd, position) ? FeedFrom(fd, reader) : -1;
      const int error = errno;
      if (fed >= 0) {
        position += static_cast<std::uint64_t>(fed);
        if (head.size() < kHeadSize)
          head = ReadHead(fd, std::min<std::uint64_t>(kHeadSize, position));
      }
      CloseFile(fd);
      if (fed < 0) {
        Complain("cannot read " + file + ": " + std::strerror(error));
        return kFailed;
      }
      reader.PassWhole();
    }
    if (!out.Flush()) return kFailed;
    if (last_round) return kOk;
  }
}

}  // namespace zyl::tool
