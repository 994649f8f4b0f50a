#include <cstdint>
#include <memory>
#include <string>

#include "frame/no_throw.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == ':'; }

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;

// Eight bytes from `p`, the first in the lowest bits whatever the host's byte order. Compilers
// turn the shifts into one load.
std::uint64_t Load8(const char* p) {
  const auto at = [p](int i) { return std::uint64_t{static_cast<unsigned char>(p[i])} << 8 * i; };
  return at(0) | at(1) | at(2) | at(3) | at(4) | at(5) | at(6) | at(7);
}

// The top bit of every byte of `word` that equals `byte`, and no other bit: the sum stays within
// each byte's low seven bits, so nothing carries into a neighbour.
std::uint64_t BytesEqual(std::uint64_t word, char byte) {
  const std::uint64_t diff = word ^ (kEveryByte * static_cast<unsigned char>(byte));
  return ~(((diff & kLow7) + kLow7) | diff | kLow7);
}

std::uint64_t Separators(const char* p) {
  const std::uint64_t word = Load8(p);
  return BytesEqual(word, '\\') | BytesEqual(word, ':');
}

// Position just past the last separator among the eight bytes at `at`; `hits` is not 0.
std::size_t PastLastHit(std::size_t at, std::uint64_t hits) {
  return at + static_cast<std::size_t>(63 - __builtin_clzll(hits)) / 8 + 1;
}

// Position just past the last backslash or colon; 0 when there is none. '/' does not separate.
// File names run to dozens of bytes and a byte loop over them costs about as much as copying
// the result, so sixteen bytes are tested at a time from the end.
inline std::size_t NameStart(const std::string& path) {
  const char* const data = path.data();
  std::size_t end = path.size();
  for (; end >= 16; end -= 16) {
    const std::uint64_t high = Separators(data + end - 8);
    const std::uint64_t low = Separators(data + end - 16);
    if (high != 0) return PastLastHit(end - 8, high);
    if (low != 0) return PastLastHit(end - 16, low);
  }
  if (end >= 8) {
    const std::uint64_t hits = Separators(data + end - 8);
    if (hits != 0) return PastLastHit(end - 8, hits);
    end -= 8;
  }
  for (; end > 0; --end) {
    if (IsSeparator(data[end - 1])) return end;
  }
  return 0;
}

}  // namespace

ZYLString ExtractFileName(const ZYLString& path) {
  return zyl::NoThrow([&]() -> ZYLString {
    const std::size_t start = NameStart(path);
    if (start == 0) return {};
    return ZYLString(path.data() + start, path.size() - start);
  });
}

ZYLString ExtractFilePath(const ZYLString& path) {
  return zyl::NoThrow([&] { return ZYLString(path.data(), NameStart(path)); });
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
