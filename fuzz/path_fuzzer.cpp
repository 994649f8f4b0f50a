// Splitting any bytes as a path (see CheckSplit), and asking for its short form.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"

namespace {

// Natively an existing path is its own short form, up to its first NUL; the query only reads the
// file system.
const char* CheckShortForm(const ZYLString& path) {
  const ZYLString short_form = ExtractShortPathName(path);
  ZYL_PROPERTY(short_form.empty() || short_form == path.c_str());
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ZYLString path(std::string(reinterpret_cast<const char*>(data), size));
  zyl::fuzz::StopIfBroken(zyl::fuzz::CheckSplit(path));
  zyl::fuzz::StopIfBroken(CheckShortForm(path));
  return 0;
}
