#include <cstdint>
#include <new>
#include <stdexcept>

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
  if (width <= 0 || static_cast<std::size_t>(width) <= text.size()) return text;
  const auto size = static_cast<std::size_t>(width);
  // A width alone can ask for 2 GiB. Failing to allocate it is the caller's bad input, not the
  // process running dry, and it must not reach the caller as an exception: the 32-bit DLL's
  // unwinder cannot cross into its caller, so any throw from here would end the host.
  try {
    // Each helper builds its one string in place: no move on the way out.
    if (text.size() < kLongText) return CopiedOverFill(text, fill, size, pad_left);
    return WrittenOnce(text, fill, size, pad_left);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return {};
}
