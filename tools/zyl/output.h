#ifndef ZYL_TOOLS_ZYL_OUTPUT_H_
#define ZYL_TOOLS_ZYL_OUTPUT_H_

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace zyl::tool {

// Exit statuses, ordered: of several, the highest is the one to report.
enum Status : int { kOk = 0, kNoResult = 1, kUsage = 2, kFailed = 3 };

// A stream written through one large buffer, so a filter's many short lines cost one system call
// per block rather than one per line.
class Output {
 public:
  explicit Output(std::FILE* file);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void Write(std::string_view bytes) {
    if (bytes.size() > kCapacity - used_) return WriteLarge(bytes);
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  // A string's buffer holds 16 bytes or more: a short one moves as one block, without a call.
  void Line(const std::string& text) {
    if (text.size() < 16 && kCapacity - used_ > 16 && text.capacity() >= 15) {
      std::memcpy(buffer_.get() + used_, text.data(), 16);
      used_ += text.size();
      buffer_[used_++] = '\n';
      return;
    }
    LineOutOfLine(text);
  }
  void Line(const char* text) { Line(std::string_view(text)); }
  // `text` and a line end.
  void Line(std::string_view text) {
    if (text.size() >= kCapacity - used_) {
      WriteLarge(text);
      return Write("\n");
    }
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
    buffer_[used_++] = '\n';
  }
  // Writes out what is buffered; false once anything could not be written.
  bool Flush();
  bool ok() const { return ok_; }

 private:
  void WriteLarge(std::string_view bytes);
  void LineOutOfLine(std::string_view text);

  static constexpr std::size_t kCapacity = 64 * 1024;
  std::FILE* file_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool ok_ = true;
};

// Writes "zyl: `message`" and a line end to standard error.
void Complain(std::string_view message);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_OUTPUT_H_
