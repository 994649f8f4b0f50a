#include <cstdint>
#include <cstring>

#include "zyl/zyl.h"

namespace {

// A short text is cheapest copied over a string filled whole: one call builds it.
ZYLString CopiedOverFill(const ZYLString& text, char fill, std::size_t width, bool pad_left) {
  ZYLString padded(width, fill);
  std::memcpy(&padded[pad_left ? width - text.size() : 0], text.data(), text.size());
  return padded;
}

// A long one costs less written once, even at two more calls.
ZYLString WrittenOnce(const ZYLString& text, char fill, std::size_t width, bool pad_left) {
  ZYLString padded;
  padded.reserve(width);
  if (pad_left) padded.append(width - text.size(), fill);
  padded.append(text);
  if (!pad_left) padded.append(width - text.size(), fill);
  return padded;
}

constexpr std::size_t kLongText = 256;

}  // namespace

ZYLString PadString(const ZYLString& text, char fill, std::int32_t width, bool pad_left) {
  if (width <= 0 || static_cast<std::size_t>(width) <= text.size()) return text;
  const auto size = static_cast<std::size_t>(width);
  // Each helper builds its one string in place: no move on the way out.
  if (text.size() < kLongText) return CopiedOverFill(text, fill, size, pad_left);
  return WrittenOnce(text, fill, size, pad_left);
}
