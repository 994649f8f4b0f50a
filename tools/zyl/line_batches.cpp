#include "line_batches.h"

#include <cerrno>
#include <cstring>

#include "system.h"

namespace zyl::tool {
namespace {

constexpr std::size_t kReadBlock = 128 * 1024;

}  // namespace

LineBatches::LineBatches(int fd, Output& out)
    : fd_(fd), out_(out), block_(kReadBlock + kLineSlack) {}

const StringBatch<std::string>& LineBatches::Next() {
  lines_.Clear();
  while (next_ == splitter_.count()) {
    if (ended_) return lines_;
    if (!ReadBlock()) {
      ended_ = true;
      const std::string_view last = WithoutLineEnd(splitter_.pending());
      if (problem_.empty() && !splitter_.pending().empty())
        lines_.Add([&] { return LineString(last); });
      return lines_;
    }
  }
  const std::string_view line = WithoutItsEnd(splitter_.line(next_));
  if (line.size() < 16) {
    TakeShortLines();
  } else {
    lines_.Add([&] { return std::string(line); });
    ++next_;
  }
  return lines_;
}

// Reads the next block; false at the end of the input or when it cannot be read.
bool LineBatches::ReadBlock() {
  out_.Flush();
  const long got = ReadSome(fd_, block_.data(), kReadBlock);
  if (got < 0) problem_ = std::strerror(errno);
  if (got <= 0) return false;
  splitter_.Cut(std::string_view(block_.data(), static_cast<std::size_t>(got)));
  next_ = 0;
  return true;
}

// Short lines of the block from next_ on, as many as fit the batch.
void LineBatches::TakeShortLines() {
  next_ = splitter_.Walk(next_, [this](std::string_view with_end) {
    const std::string_view line = WithoutItsEnd(with_end);
    if (line.size() >= 16 || lines_.full()) return false;
    lines_.Add([&] { return ShortLineString(line.data(), line.size()); });
    return true;
  });
}

}  // namespace zyl::tool
