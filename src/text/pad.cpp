#include <cstdint>

#include "zyl/zyl.h"

ZYLString PadString(const ZYLString& text, char fill, std::int32_t width, bool pad_left) {
  const std::size_t fill_count =
      width > 0 && static_cast<std::size_t>(width) > text.size()
          ? static_cast<std::size_t>(width) - text.size()
          : 0;
  ZYLString padded;
  padded.reserve(text.size() + fill_count);
  if (pad_left) padded.append(fill_count, fill);
  padded.append(text);
  if (!pad_left) padded.append(fill_count, fill);
  return padded;
}
