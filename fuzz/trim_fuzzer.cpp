// Trimming any bytes (see CheckTrim). The library's blank scans (SSE2 where the target has it)
// agree with the portable ones, a byte at a time, from every start and to every end near the
// input's edges.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "text/scan.h"
#include "text/scan_portable.h"

namespace {

void CheckBlankScans(const char* begin, const char* end) {
  for (std::size_t cut = 0; cut <= 40 && cut <= static_cast<std::size_t>(end - begin); ++cut) {
    const char* const first = zyl::scan::SkipBlanks(begin + cut, end);
    ZYL_FUZZ_CHECK(first == zyl::portable::SkipBlanks(begin + cut, end));
    const char* const last = zyl::scan::SkipBlanksBack(begin, end - cut);
    ZYL_FUZZ_CHECK(last == zyl::portable::SkipBlanksBack(begin, end - cut));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // libFuzzer's own copy holds exactly the input, so ASan sees any load past its end.
  const auto* const bytes = reinterpret_cast<const char*>(data);
  CheckBlankScans(bytes, bytes + size);
  const std::string text(bytes, size);
  zyl::fuzz::StopIfBroken(zyl::fuzz::CheckTrim(text));
  return 0;
}
