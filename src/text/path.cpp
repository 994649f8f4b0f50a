#include <memory>
#include <string>

#include "frame/startup.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

namespace {

// Position just past the last backslash or colon; 0 when there is none. '/' does not separate.
std::size_t NameStart(const std::string& path) {
  for (std::size_t end = path.size(); end > 0; --end) {
    const char c = path[end - 1];
    if (c == '\\' || c == ':') return end;
  }
  return 0;
}

}  // namespace

ZYLString ExtractFileName(const ZYLString& path) {
  const std::size_t start = NameStart(path);
  if (start == 0) return {};
  return ZYLString(path.substr(start));
}

ZYLString ExtractFilePath(const ZYLString& path) {
  return ZYLString(path.substr(0, NameStart(path)));
}

ZYLString ExtractShortPathName(const ZYLString& path) {
  std::size_t size = zyl::kPathLimit;
  auto buf = std::make_unique<char[]>(size + 1);
  std::size_t length = zyl::platform::ShortPathName(path.c_str(), buf.get(), size);
  if (length >= size) {
    // Too long for the path limit: the buffer holds nothing usable, so ask again with the size
    // the platform said it needs.
    size = length + 1;
    buf = std::make_unique<char[]>(size + 1);
    length = zyl::platform::ShortPathName(path.c_str(), buf.get(), size);
    if (length >= size) return {};
  }
  return ZYLString(std::string(buf.get(), length));
}
