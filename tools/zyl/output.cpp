#include "output.h"

namespace zyl::tool {

Output::Output(std::FILE* file) : file_(file) {
  // The stream's own buffer would cut each of our blocks in two writes, and wake a reader twice.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  buffer_.reserve(kBlock);
}

void Output::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() <= kBlock) {
    buffer_.append(bytes);
    return;
  }
  Flush();
  if (bytes.size() < kBlock) {
    buffer_.append(bytes);
  } else {
    ok_ = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && ok_;
  }
}

bool Output::Flush() {
  if (!buffer_.empty()) {
    ok_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size() && ok_;
    buffer_.clear();
  }
  ok_ = std::fflush(file_) == 0 && ok_;
  return ok_;
}

void Complain(std::string_view message) {
  std::string line = "zyl: ";
  line.append(message).append("\n");
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace zyl::tool
