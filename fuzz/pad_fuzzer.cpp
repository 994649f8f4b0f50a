// Padding any text to any width: the result has max(width, length) bytes, the text stands
// unchanged at the chosen side and every other byte is the fill.
//
// Input: a flags byte (bit 0: pad on the left; bit 1: push the width far below zero), the fill,
// two bytes of signed width, then the text. Widths stay below 32 KiB, so a run never spends its
// memory on one huge fill.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "zyl/zyl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const bool pad_left = (data[0] & 1) != 0;
  const char fill = static_cast<char>(data[1]);
  std::int16_t width16 = 0;
  std::memcpy(&width16, data + 2, sizeof width16);
  const std::int32_t width = (data[0] & 2) != 0 ? INT32_MIN + (width16 + 32768) : width16;
  const ZYLString text(std::string(reinterpret_cast<const char*>(data + 4), size - 4));

  const ZYLString padded = PadString(text, fill, width, pad_left);

  const std::size_t length = text.size();
  const std::size_t want = width > 0 && static_cast<std::size_t>(width) > length
                               ? static_cast<std::size_t>(width)
                               : length;
  ZYL_FUZZ_CHECK(padded.size() == want);
  const std::size_t fill_count = want - length;
  const std::size_t text_at = pad_left ? fill_count : 0;
  const std::size_t fill_at = pad_left ? 0 : length;
  ZYL_FUZZ_CHECK(padded.compare(text_at, length, text) == 0);
  ZYL_FUZZ_CHECK(padded.find_first_not_of(fill, fill_at) >= fill_at + fill_count);
  return 0;
}
