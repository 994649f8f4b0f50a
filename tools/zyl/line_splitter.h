#ifndef ZYL_TOOLS_ZYL_LINE_SPLITTER_H_
#define ZYL_TOOLS_ZYL_LINE_SPLITTER_H_

#include <cstring>
#include <string>
#include <string_view>

namespace zyl::tool {

// Cuts a byte stream, fed block by block, into lines ending at LF. Only a line that spans blocks
// is copied; memory grows with the longest line, never with the stream.
class LineSplitter {
 public:
  // Calls `on_line` with each line `block` completes, its LF included; the view lasts for the
  // call. Stops early, returning false, when `on_line` returns false.
  template <class OnLine>
  bool Feed(std::string_view block, OnLine&& on_line) {
    std::size_t start = 0;
    if (!pending_.empty()) {
      const std::size_t end = Find(block, 0);
      if (end == std::string_view::npos) {
        pending_.append(block);
        return true;
      }
      pending_.append(block.substr(0, end + 1));
      if (!on_line(std::string_view(pending_))) return false;
      pending_.clear();
      start = end + 1;
    }
    for (std::size_t end; (end = Find(block, start)) != std::string_view::npos; start = end + 1) {
      if (!on_line(block.substr(start, end + 1 - start))) return false;
    }
    pending_.append(block.substr(start));
    return true;
  }

  // The line in progress: what follows the last LF so far.
  std::string_view pending() const { return pending_; }
  void Clear() { pending_.clear(); }

 private:
  static std::size_t Find(std::string_view block, std::size_t from) {
    const void* at = std::memchr(block.data() + from, '\n', block.size() - from);
    return at == nullptr ? std::string_view::npos
                         : static_cast<std::size_t>(static_cast<const char*>(at) - block.data());
  }

  std::string pending_;
};

// `line` without its end, LF or CR LF.
inline std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_LINE_SPLITTER_H_
