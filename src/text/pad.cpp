#include <cstdint>
#include <cstring>

#include "frame/no_throw.h"
#include "zyl/zyl.h"

namespace {

// The first and the last N bytes of `size` (N <= size <= 2N): together, all of them.
template <std::size_t N>
void CopyBothEnds(char* to, const char* from, std::size_t size) {
  std::memcpy(to, from, N);
  std::memcpy(to + size - N, from + size - N, N);
}

// Up to 32 bytes move inline as two overlapping blocks: for a short field a call to memcpy
// costs as much as all the rest of the padding.
void CopyBytes(char* to, const char* from, std::size_t size) {
  if (size > 32) {
    std::memcpy(to, from, size);
  } else if (size >= 16) {
    CopyBothEnds<16>(to, from, size);
  } else if (size >= 8) {
    CopyBothEnds<8>(to, from, size);
  } else if (size >= 4) {
    CopyBothEnds<4>(to, from, size);
  } else if (size >= 2) {
    CopyBothEnds<2>(to, from, size);
  } else if (size == 1) {
    *to = *from;
  }
}

// Filling the whole width and copying the text over it takes one call to build the string.
ZYLString CopiedOverFill(const ZYLString& text, char fill, std::size_t width, bool pad_left) {
  ZYLString padded(width, fill);
  CopyBytes(&padded[pad_left ? width - text.size() : 0], text.data(), text.size());
  return padded;
}

// Writing every byte once takes two more calls, which a long text's second write outweighs.
ZYLString WrittenOnce(const ZYLString& text, char fill, std::size_t width, bool pad_left) {
  ZYLString padded;
  padded.reserve(width);
  if (pad_left) padded.append(width - text.size(), fill);
  padded.append(text);
  if (!pad_left) padded.append(width - text.size(), fill);
  return padded;
}

constexpr std::size_t kLongText = 1024;  // where the second write starts to cost more, measured

}  // namespace

ZYLString PadString(const ZYLString& text, char fill, std::int32_t width, bool pad_left) {
  // A width alone can ask for 2 GiB: one that cannot be allocated gives the empty string.
  return zyl::NoThrow([&]() -> ZYLString {
    if (width <= 0 || static_cast<std::size_t>(width) <= text.size()) return text;
    const auto size = static_cast<std::size_t>(width);
    // Each helper builds its one string in place: no move on the way out.
    if (text.size() < kLongText) return CopiedOverFill(text, fill, size, pad_left);
    return WrittenOnce(text, fill, size, pad_left);
  });
}
