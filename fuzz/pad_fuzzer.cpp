// Padding any text to any width (see CheckPad).
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const bool pad_left = (data[0] & 1) != 0;
  const char fill = static_cast<char>(data[1]);
  std::int16_t width16 = 0;
  std::memcpy(&width16, data + 2, sizeof width16);
  const std::int32_t width = (data[0] & 2) != 0 ? INT32_MIN + (width16 + 32768) : width16;
  const ZYLString text(std::string(reinterpret_cast<const char*>(data + 4), size - 4));
  zyl::fuzz::StopIfBroken(zyl::fuzz::CheckPad(text, fill, width, pad_left));
  return 0;
}
