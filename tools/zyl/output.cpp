#include "output.h"

namespace zyl::tool {

Output::Output(std::FILE* file) : file_(file), buffer_(new char[kCapacity]) {}

void Output::WriteLarge(std::string_view bytes) {
  Flush();
  if (bytes.size() >= kCapacity) {
    ok_ = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && ok_;
    return;
  }
  std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  used_ = bytes.size();
}

bool Output::Flush() {
  if (used_ != 0) ok_ = std::fwrite(buffer_.get(), 1, used_, file_) == used_ && ok_;
  used_ = 0;
  ok_ = std::fflush(file_) == 0 && ok_;
  return ok_;
}

void Complain(std::string_view message) {
  std::string line = "zyl: ";
  line.append(message).append("\n");
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace zyl::tool
