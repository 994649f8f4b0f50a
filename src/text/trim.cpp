#include <cctype>
#include <string>

#include "zyl/zyl.h"

namespace {

// Bytes 0x21-0x7E are neither blank nor control in any locale, so most text is settled without
// asking the locale.
bool IsTrimmable(char c) {
  // <cctype> is undefined for negative values: bytes 0x80-0xFF must reach it unsigned.
  const auto byte = static_cast<unsigned char>(c);
  if (byte - 0x21u < 0x7Fu - 0x21u) return false;
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

std::string ZYLTrimLeft(const std::string& text) { return text.substr(FirstKept(text)); }

std::string ZYLTrimRight(const std::string& text) { return text.substr(0, EndOfKept(text, 0)); }

std::string ZYLTrim(const std::string& text) {
  // Both ends found first, then one copy: no intermediate string.
  const std::size_t begin = FirstKept(text);
  return text.substr(begin, EndOfKept(text, begin) - begin);
}
