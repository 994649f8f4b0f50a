#include <array>
#include <cctype>
#include <string>

#include "text/scan.h"
#include "zyl/zyl.h"

namespace {

// C fixes the class of the letters, digits and 29 graphic characters of its basic set: printing,
// so never trimmed. The six blanks the scans skip are white space in every locale. Only the
// other bytes depend on the locale, and only they cost a call into the C library.
constexpr std::array<bool, 256> kAlwaysKept = [] {
  std::array<bool, 256> table{};
  for (int c = 0x21; c < 0x7F; ++c) table[c] = c != '$' && c != '@' && c != '`';
  return table;
}();

// Kept apart from the scans, so their loops save no registers for a call they almost never make.
[[gnu::cold, gnu::noinline]] bool TrimmableInLocale(unsigned char byte) {
  return std::isspace(byte) != 0 || std::iscntrl(byte) != 0;
}

// Whether `c`, which is not one of the six blanks, is trimmable all the same.
bool TrimmableNonBlank(char c) {
  // <cctype> is undefined for negative values: bytes 0x80-0xFF must reach it unsigned.
  const auto byte = static_cast<unsigned char>(c);
  return !kAlwaysKept[byte] && TrimmableInLocale(byte);
}

std::size_t FirstKept(const std::string& text) {
  const char* const end = text.data() + text.size();
  const char* first = zyl::scan::SkipBlanks(text.data(), end);
  while (first != end && TrimmableNonBlank(*first)) first = zyl::scan::SkipBlanks(first + 1, end);
  return static_cast<std::size_t>(first - text.data());
}

// Scans back to the start of the text: in a trim of both ends the first kept byte stops the scan
// as surely, and the vector scan may then load whole vectors that begin before it.
std::size_t EndOfKept(const std::string& text) {
  const char* const data = text.data();
  const char* end = zyl::scan::SkipBlanksBack(data, data + text.size());
  while (end != data && TrimmableNonBlank(end[-1])) end = zyl::scan::SkipBlanksBack(data, end - 1);
  return static_cast<std::size_t>(end - data);
}

}  // namespace

std::string ZYLTrimLeft(const std::string& text) {
  const std::size_t begin = FirstKept(text);
  return std::string(text.data() + begin, text.size() - begin);
}

std::string ZYLTrimRight(const std::string& text) {
  return std::string(text.data(), EndOfKept(text));
}

std::string ZYLTrim(const std::string& text) {
  // Both ends first, then one copy: no intermediate string.
  const std::size_t begin = FirstKept(text);
  if (begin == text.size()) return {};
  return std::string(text.data() + begin, EndOfKept(text) - begin);
}
