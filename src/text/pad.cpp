#include <cstdint>

#include "frame/no_throw.h"
#include "text/bytes.h"
#include "zyl/zyl.h"

namespace {

// Filling the whole width and copying the text over it takes one call to build the string.
ZYLString CopiedOverFill(const ZYLString& text, char fill, std::size_t width, bool pad_left) {
  ZYLString padded(width, fill);
  zyl::CopyBytes(&padded[pad_left ? width - text.size() : 0], text.data(), text.size());
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
