#ifndef ZYL_TOOLS_ZYL_LINE_SPLITTER_H_
#define ZYL_TOOLS_ZYL_LINE_SPLITTER_H_

#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <string>
#include <string_view>
#include <vector>

namespace zyl::tool {

// One bit for each LF among the 16 bytes at `p`, the first byte's in the lowest bit.
#if defined(__SSE2__)
inline unsigned LineFeeds(const char* p) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
}
#else
inline unsigned LineFeeds(const char* p) {
  unsigned bits = 0;
  for (unsigned i = 0; i < 16; ++i) bits |= static_cast<unsigned>(p[i] == '\n') << i;
  return bits;
}
#endif

// Cuts a byte stream, fed block by block, into lines ending at LF. Only a line that spans blocks
// is copied; memory grows with the longest line, never with the stream. A line handed on starts
// in a block or at the start of a string's buffer (see LineString).
class LineSplitter {
 public:
  // Takes the next block and finds, 16 bytes at a time, the lines it completes: line(0) to
  // line(count() - 1), each with its LF. They last until the next Cut, as long as the block.
  void Cut(std::string_view block) {
    block_ = block;
    const char* const data = block.data();
    const std::size_t size = block.size();
    if (ends_.size() < size + 1) ends_.resize(size + 1);  // room for a line per byte
    std::uint32_t* const ends = ends_.data();
    std::size_t found = 0;
    ends[0] = 0;
    const auto take = [&](unsigned feeds, std::size_t at) {
      for (; feeds != 0; feeds &= feeds - 1) {
        ends[++found] =
            static_cast<std::uint32_t>(at + static_cast<unsigned>(__builtin_ctz(feeds)) + 1);
      }
    };
    std::size_t at = 0;
    for (; size - at >= 16; at += 16) take(LineFeeds(data + at), at);
    if (at != size && size >= 16) {
      take(LineFeeds(data + size - 16) >> (at + 16 - size), at);  // overlaps bytes already seen
    } else {
      for (; at != size; ++at) take(data[at] == '\n', at);
    }
    count_ = found;
    const std::size_t last_end = ends[found];
    joined_.clear();
    if (found != 0) {
      // The line in progress ends in this block: it is line(0), whole in joined_.
      joined_.swap(pending_);
      joined_.append(data, ends[1]);
    }
    pending_.append(data + last_end, size - last_end);
  }
  std::size_t count() const { return count_; }
  std::string_view line(std::size_t i) const {
    if (i == 0 && !joined_.empty()) return joined_;
    return std::string_view(block_.data() + ends_[i], ends_[i + 1] - ends_[i]);
  }

  // Calls `on_line(line(i))` for each i from `from` on while it returns true; returns the first
  // i it did not take.
  template <class OnLine>
  std::size_t Walk(std::size_t from, OnLine&& on_line) const {
    std::size_t i = from;
    if (i == 0 && count_ != 0 && !joined_.empty()) {
      if (!on_line(std::string_view(joined_))) return 0;
      i = 1;
    }
    const char* const data = block_.data();
    const std::uint32_t* const ends = ends_.data();
    for (const std::size_t count = count_; i < count; ++i) {
      if (!on_line(std::string_view(data + ends[i], ends[i + 1] - ends[i]))) break;
    }
    return i;
  }

  // Calls `on_line` with each line `block` completes, as Cut; stops early, returning false, when
  // `on_line` returns false.
  template <class OnLine>
  bool Feed(std::string_view block, OnLine&& on_line) {
    Cut(block);
    return Walk(0, on_line) == count_;
  }

  // The line in progress: what follows the last LF so far.
  std::string_view pending() const { return pending_; }
  void Clear() { pending_.clear(); }

 private:
  std::string_view block_;
  std::vector<std::uint32_t> ends_;  // 0, then just past each LF of block_
  std::size_t count_ = 0;
  std::string joined_;  // line(0) when it began in an earlier block
  std::string pending_;
};

// The bytes a caller of LineString keeps readable past the end of each block it feeds.
inline constexpr std::size_t kLineSlack = 15;

// A short line as a new string: 15 bytes copied at once, where a copy of its own length would
// call memcpy. 15 bytes at `bytes` must be readable.
[[gnu::always_inline]] inline std::string ShortLineString(const char* bytes, std::size_t size) {
  std::string line(bytes, 15);
  line.erase(size);
  return line;
}

// A line (or a part of one from its start) that a LineSplitter handed on, as a new string, where
// each block fed was followed by kLineSlack readable bytes: a string's buffer holds 16 bytes or
// more.
inline std::string LineString(std::string_view line) {
  if (line.size() < 16) return ShortLineString(line.data(), line.size());
  return std::string(line);
}

// A line LineSplitter completed, without its end: the LF, and a CR before it.
inline std::string_view WithoutItsEnd(std::string_view line) {
  line.remove_suffix(line.size() >= 2 && line[line.size() - 2] == '\r' ? 2 : 1);
  return line;
}

// `line` without its end, LF or CR LF.
inline std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_LINE_SPLITTER_H_
