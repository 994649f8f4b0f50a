#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "frame/no_throw.h"
#include "zyl/zyl.h"

namespace {

enum class ByteClass : unsigned char { kAskLocale, kKept, kTrimmed };

// C fixes these bytes' class in every locale: the six standard white-space bytes are spaces, and
// the letters, digits and 29 graphic characters of its basic set are printing. Only the other
// bytes depend on the locale, and only they cost a call into the C library.
constexpr std::array<ByteClass, 256> kByteClass = [] {
  std::array<ByteClass, 256> table{};
  for (const char c : std::string_view(" \t\n\v\f\r")) {
    table[static_cast<unsigned char>(c)] = ByteClass::kTrimmed;
  }
  for (int c = 0x21; c < 0x7F; ++c) {
    if (c != '$' && c != '@' && c != '`') table[c] = ByteClass::kKept;
  }
  return table;
}();

bool IsTrimmable(char c) {
  // <cctype> is undefined for negative values: bytes 0x80-0xFF must reach it unsigned.
  const auto byte = static_cast<unsigned char>(c);
  switch (kByteClass[byte]) {
    case ByteClass::kKept:
      return false;
    case ByteClass::kTrimmed:
      return true;
    case ByteClass::kAskLocale:
      break;
  }
  return std::isspace(byte) != 0 || std::iscntrl(byte) != 0;
}

std::size_t FirstKept(const std::string& text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsTrimmable(text[begin])) ++begin;
  return begin;
}

std::size_t EndOfKept(const std::string& text, std::size_t begin) {
  std::size_t end = text.size();
  while (end > begin && IsTrimmable(text[end - 1])) --end;
  return end;
}

}  // namespace

std::string ZYLTrimLeft(const std::string& text) {
  return zyl::NoThrow([&] {
    const std::size_t begin = FirstKept(text);
    return std::string(text.data() + begin, text.size() - begin);
  });
}

std::string ZYLTrimRight(const std::string& text) {
  return zyl::NoThrow([&] { return std::string(text.data(), EndOfKept(text, 0)); });
}

std::string ZYLTrim(const std::string& text) {
  return zyl::NoThrow([&] {
    // Both ends first, then one copy: no intermediate string.
    const std::size_t begin = FirstKept(text);
    return std::string(text.data() + begin, EndOfKept(text, begin) - begin);
  });
}
