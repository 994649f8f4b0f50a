#ifndef ZYL_TOOLS_ZYL_OUTPUT_H_
#define ZYL_TOOLS_ZYL_OUTPUT_H_

#include <cstdio>
#include <functional>
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
  // Called whenever a full buffer went out between two writes, so a follower's cursor can follow
  // what went out at once rather than at the end of its look.
  void AfterBlock(std::function<void()> after) { after_block_ = std::move(after); }
  bool ok() const { return ok_; }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  std::FILE* file_;
  std::string buffer_;
  bool ok_ = true;
  std::function<void()> after_block_;
};

// Writes "zyl: `message`" and a line end to standard error; on a terminal Escaped(message).
void Complain(std::string_view message);

// The size of the well-formed UTF-8 character `text` starts with (no overlong form, surrogate or
// code point past U+10FFFF); 0 when it starts with none.
std::size_t Utf8CharSize(std::string_view text);

// `bytes` as two lowercase hex digits each.
std::string Hex(std::string_view bytes);

// `text` as a terminal may safely get it: C0 controls and DEL, and C1 controls (bytes 0x80-0x9F
// outside a UTF-8 character, and the characters U+0080-U+009F) as "\x1b"-style text; tab, LF and
// CR LF are kept.
std::string Escaped(std::string_view text);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_OUTPUT_H_
