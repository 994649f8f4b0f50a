#ifndef ZYL_TOOLS_ZYL_OUTPUT_H_
#define ZYL_TOOLS_ZYL_OUTPUT_H_

#include <cstdio>
#include <string>
#include <string_view>

namespace zyl::tool {

// Exit statuses, ordered: of several, the highest is the one to report.
enum Status : int { kOk = 0, kNoResult = 1, kUsage = 2, kFailed = 3 };

// A stream written in blocks of 64 KiB (a pipe's size), so a filter's many short lines cost one
// system call per block rather than one per line.
class Output {
 public:
  explicit Output(std::FILE* file);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void Write(std::string_view bytes);
  // `text` and a line end.
  void Line(std::string_view text) {
    Write(text);
    Write("\n");
  }
  // Writes out what is buffered; false once anything could not be written.
  bool Flush();
  bool ok() const { return ok_; }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  std::FILE* file_;
  std::string buffer_;
  bool ok_ = true;
};

// Writes "zyl: `message`" and a line end to standard error.
void Complain(std::string_view message);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_OUTPUT_H_
