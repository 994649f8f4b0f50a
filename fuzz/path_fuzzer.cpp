// Splitting any bytes as a path: the name holds no separator; with a separator in the path, the
// directory ends with one and directory + name is the path again; without, both are empty.
// The short form, where there is one, names the same path up to its first NUL.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "zyl/zyl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ZYLString path(std::string(reinterpret_cast<const char*>(data), size));
  const ZYLString dir = ExtractFilePath(path);
  const ZYLString name = ExtractFileName(path);

  ZYL_FUZZ_CHECK(name.find_first_of("\\:") == std::string::npos);
  if (path.find_first_of("\\:") == std::string::npos) {
    ZYL_FUZZ_CHECK(dir.empty() && name.empty());
  } else {
    ZYL_FUZZ_CHECK(!dir.empty() && (dir.back() == '\\' || dir.back() == ':'));
    ZYL_FUZZ_CHECK(dir + name == path);
  }

  // Natively an existing path is its own short form; the query only reads the file system.
  const ZYLString short_form = ExtractShortPathName(path);
  ZYL_FUZZ_CHECK(short_form.empty() || short_form == path.c_str());
  return 0;
}
