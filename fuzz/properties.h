#ifndef ZYL_FUZZ_PROPERTIES_H_
#define ZYL_FUZZ_PROPERTIES_H_

// What must hold for any input: the fuzzers check it on everything they generate, the unit tests
// on seeded random input. Each check returns null when all holds, else the condition that broke.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "zyl/zyl.h"

#define ZYL_PROPERTY(condition)          \
  do {                                   \
    if (!(condition)) return #condition; \
  } while (false)

namespace zyl::fuzz {

// The definition itself, under the current locale ("C" unless a test sets another).
inline bool Trimmable(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return std::isspace(byte) != 0 || std::iscntrl(byte) != 0;
}

inline bool AllTrimmable(const std::string& text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (!Trimmable(text[i])) return false;
  }
  return true;
}

// Every result is a piece of the input, nothing but trimmable bytes was cut away, an end that was
// cut is not trimmable, and the two-sided trim is the one-sided ones composed.
inline const char* CheckTrim(const std::string& text) {
  const std::size_t size = text.size();
  const std::string left = ZYLTrimLeft(text);
  const std::string right = ZYLTrimRight(text);
  const std::string both = ZYLTrim(text);

  ZYL_PROPERTY(left.size() <= size && text.compare(size - left.size(), left.size(), left) == 0);
  ZYL_PROPERTY(AllTrimmable(text, 0, size - left.size()));
  ZYL_PROPERTY(left.empty() || !Trimmable(left.front()));

  ZYL_PROPERTY(right.size() <= size && text.compare(0, right.size(), right) == 0);
  ZYL_PROPERTY(AllTrimmable(text, right.size(), size));
  ZYL_PROPERTY(right.empty() || !Trimmable(right.back()));

  ZYL_PROPERTY(both == ZYLTrimRight(left));
  ZYL_PROPERTY(both == ZYLTrimLeft(right));
  ZYL_PROPERTY(both.empty() || (!Trimmable(both.front()) && !Trimmable(both.back())));
  return nullptr;
}

// The result has max(width, length) bytes, the text stands unchanged at the chosen side and every
// other byte is the fill.
inline const char* CheckPad(const ZYLString& text, char fill, std::int32_t width, bool pad_left) {
  const ZYLString padded = PadString(text, fill, width, pad_left);
  const std::size_t length = text.size();
  const std::size_t want = width > 0 && static_cast<std::size_t>(width) > length
                               ? static_cast<std::size_t>(width)
                               : length;
  ZYL_PROPERTY(padded.size() == want);
  const std::size_t fill_count = want - length;
  const std::size_t text_at = pad_left ? fill_count : 0;
  const std::size_t fill_at = pad_left ? 0 : length;
  ZYL_PROPERTY(padded.compare(text_at, length, text) == 0);
  ZYL_PROPERTY(padded.find_first_not_of(fill, fill_at) >= fill_at + fill_count);
  return nullptr;
}

// The name holds no separator; with a separator in the path, the directory ends with one and
// directory + name is the path again; without, both are empty.
inline const char* CheckSplit(const ZYLString& path) {
  const ZYLString dir = ExtractFilePath(path);
  const ZYLString name = ExtractFileName(path);
  ZYL_PROPERTY(name.find_first_of("\\:") == std::string::npos);
  if (path.find_first_of("\\:") == std::string::npos) {
    ZYL_PROPERTY(dir.empty() && name.empty());
  } else {
    ZYL_PROPERTY(!dir.empty() && (dir.back() == '\\' || dir.back() == ':'));
    ZYL_PROPERTY(dir + name == path);
  }
  return nullptr;
}

}  // namespace zyl::fuzz

#endif  // ZYL_FUZZ_PROPERTIES_H_
