// Splitting any bytes as a path (see CheckSplit). The short form, where there is one, names the
// same path up to its first NUL. The library's separator scan (SSE2 where the target has it)
// agrees with the portable one, a byte at a time, from every start and to every end near the
// input's edges.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "fuzz_check.h"
#include "text/scan.h"
#include "text/scan_portable.h"

namespace {

void CheckSeparatorScans(const char* begin, const char* end) {
  for (std::size_t cut = 0; cut <= 40 && cut <= static_cast<std::size_t>(end - begin); ++cut) {
    for (const auto& [from, to] : {std::pair(begin + cut, end), std::pair(begin, end - cut)}) {
      const char* const found = zyl::scan::PastLastSeparator(from, to);
      ZYL_FUZZ_CHECK(found == zyl::portable::PastLastSeparator(from, to));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // libFuzzer's own copy holds exactly the input, so ASan sees any load past its end.
  const auto* const bytes = reinterpret_cast<const char*>(data);
  CheckSeparatorScans(bytes, bytes + size);
  const ZYLString path(std::string(bytes, size));
  zyl::fuzz::StopIfBroken(zyl::fuzz::CheckSplit(path));
  // Natively an existing path is its own short form; the query only reads the file system.
  const ZYLString short_form = ExtractShortPathName(path);
  ZYL_FUZZ_CHECK(short_form.empty() || short_form == path.c_str());
  return 0;
}
