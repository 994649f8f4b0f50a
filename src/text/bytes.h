#ifndef ZYL_TEXT_BYTES_H_
#define ZYL_TEXT_BYTES_H_

// Short copies made inline: for a result of a few dozen bytes a call to memcpy costs as much as
// finding it.

#include <cstddef>
#include <cstring>

namespace zyl {

// The first and the last N bytes of `size` (N <= size <= 2N): together, all of them.
template <std::size_t N>
void CopyBothEnds(char* to, const char* from, std::size_t size) {
  std::memcpy(to, from, N);
  std::memcpy(to + size - N, from + size - N, N);
}

// Fewer than 16 bytes, inline as two overlapping blocks.
inline void CopyShortBytes(char* to, const char* from, std::size_t size) {
  if (size >= 8) {
    CopyBothEnds<8>(to, from, size);
  } else if (size >= 4) {
    CopyBothEnds<4>(to, from, size);
  } else if (size >= 2) {
    CopyBothEnds<2>(to, from, size);
  } else if (size == 1) {
    *to = *from;
  }
}

// Up to 32 bytes move inline as two overlapping blocks.
inline void CopyBytes(char* to, const char* from, std::size_t size) {
  if (size > 32) {
    std::memcpy(to, from, size);
  } else if (size >= 16) {
    CopyBothEnds<16>(to, from, size);
  } else {
    CopyShortBytes(to, from, size);
  }
}

// A string of the `size` (< 16) bytes at `bytes`, copied inline into the string's own buffer
// (15 bytes in libstdc++), where its constructor would call memcpy.
template <class String>
[[gnu::always_inline]] inline String InlineStringOf(const char* bytes, std::size_t size) {
  String piece(15, '\0');
  CopyShortBytes(piece.data(), bytes, size);
  piece.erase(size);
  return piece;
}

// A new string of the `size` bytes at `bytes`. Both branches return a temporary, which is built
// in place.
template <class String>
[[gnu::always_inline]] inline String StringOf(const char* bytes, std::size_t size) {
  if (size < 16) return InlineStringOf<String>(bytes, size);
  return String(bytes, size);
}

}  // namespace zyl

#endif  // ZYL_TEXT_BYTES_H_
