#include <memory>
#include <string>

#include "frame/no_throw.h"
#include "platform/platform.h"
#include "text/bytes.h"
#include "text/scan.h"
#include "zyl/zyl.h"

namespace {

// Position just past the last backslash or colon; 0 when there is none. '/' does not separate.
std::size_t NameStart(const std::string& path) {
  const char* const data = path.data();
  return static_cast<std::size_t>(zyl::scan::PastLastSeparator(data, data + path.size()) - data);
}

}  // namespace

ZYLString ExtractFileName(const ZYLString& path) {
  return zyl::NoThrow([&]() -> ZYLString {
    const std::size_t start = NameStart(path);
    if (__builtin_expect(start == 0, 0)) return {};
    return zyl::StringOf<ZYLString>(path.data() + start, path.size() - start);
  });
}

ZYLString ExtractFilePath(const ZYLString& path) {
  return zyl::NoThrow([&] { return zyl::StringOf<ZYLString>(path.data(), NameStart(path)); });
}

ZYLString ExtractShortPathName(const ZYLString& path) {
  return zyl::NoThrow([&]() -> ZYLString {
    std::size_t size = zyl::platform::kPathLimit;
    auto buf = std::make_unique<char[]>(size + 1);  // zero-filled: always terminated
    std::size_t length = zyl::platform::ShortPathName(path.c_str(), buf.get(), size);
    if (length >= size) {
      // It did not fit, and the buffer holds nothing usable. The platform has said what it needs,
      // the NUL included: ask once more with exactly that.
      size = length;
      buf = std::make_unique<char[]>(size + 1);
      length = zyl::platform::ShortPathName(path.c_str(), buf.get(), size);
      // Still too small: the path changed in between. Empty rather than chase it.
      if (length >= size) return {};
    }
    if (length == 0) return {};
    return ZYLString(buf.get());
  });
}
