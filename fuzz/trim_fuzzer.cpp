// Trimming any bytes (see CheckTrim). The library's blank scans (SSE2 where the target has it, and
// the 32-bit DLL's choice either way) agree with the portable ones in both word widths from every
// start and to every end near the input's edges.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "text/scan.h"
#include "text/scan_chosen.h"
#include "text/scan_portable.h"

namespace {

void CheckBlankScans(const char* begin, const char* end) {
  for (std::size_t cut = 0; cut <= 40 && cut <= static_cast<std::size_t>(end - begin); ++cut) {
    const char* const first = zyl::scan::SkipBlanks(begin + cut, end);
    ZYL_FUZZ_CHECK(first == zyl::portable::SkipBlanks<std::uint32_t>(begin + cut, end));
    ZYL_FUZZ_CHECK(first == zyl::portable::SkipBlanks<std::uint64_t>(begin + cut, end));
    const char* const last = zyl::scan::SkipBlanksBack(begin, end - cut);
    ZYL_FUZZ_CHECK(last == zyl::portable::SkipBlanksBack<std::uint32_t>(begin, end - cut));
    ZYL_FUZZ_CHECK(last == zyl::portable::SkipBlanksBack<std::uint64_t>(begin, end - cut));
    for (const Sse2Answer sse2 : kBothAnswers) {
      ZYL_FUZZ_CHECK(first == zyl::chosen::SkipBlanks(begin + cut, end, sse2));
      ZYL_FUZZ_CHECK(last == zyl::chosen::SkipBlanksBack(begin, end - cut, sse2));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckBlankScans(text.data(), text.data() + size);
  if (size < 16) {  // a string's buffer holds 16 bytes: the vector step may read them all
    ZYL_FUZZ_CHECK(zyl::sse2::NonBlankBits(text.data(), size) ==
                   zyl::portable::NonBlankBits(text.data(), size));
  }
  zyl::fuzz::StopIfBroken(zyl::fuzz::CheckTrim(text));
  return 0;
}
