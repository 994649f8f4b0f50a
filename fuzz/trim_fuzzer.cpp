// Trimming any bytes (see CheckTrim).

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zyl::fuzz::StopIfBroken(
      zyl::fuzz::CheckTrim(std::string(reinterpret_cast<const char*>(data), size)));
  return 0;
}
