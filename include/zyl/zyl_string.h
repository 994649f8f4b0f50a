#ifndef ZYL_ZYL_STRING_H_
#define ZYL_ZYL_STRING_H_

#include <cctype>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

#include "zyl/abi_guard.h"

// The library's byte string: a std::string with a few constructors and operations added. It holds
// no data of its own, so it passes wherever a std::string is expected. Bytes are never converted;
// positions and lengths are byte counts. Everything here is inline: no member crosses the DLL
// boundary, only whole values do.
class ZYLString : public std::string {
 public:
  ZYLString() = default;
  ZYLString(const std::string& text) : std::string(text) {}  // NOLINT: converts by copy
  ZYLString(std::string&& text) noexcept                     // NOLINT
      : std::string(std::move(text)) {}
  ZYLString(size_type count, char c) : std::string(count, c) {}
  // `count` bytes from `bytes`, NULs included.
  ZYLString(const char* bytes, size_type count) : std::string(bytes, count) {}
  // The bytes up to the first NUL; a null pointer gives the empty string.
  ZYLString(const char* text)  // NOLINT: converts like std::string does
      : std::string(text != nullptr ? text : "") {}
  // Plain decimal text: a minus sign when negative, no grouping, whatever the global locale.
  explicit ZYLString(std::int32_t value) {
    char digits[12];  // "-2147483648"
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    assign(digits, result.ptr);
  }

  ZYLString& operator=(const std::string& text) {
    std::string::operator=(text);
    return *this;
  }
  ZYLString& operator=(std::string&& text) noexcept {
    std::string::operator=(std::move(text));
    return *this;
  }
  // Declaring the two above hides std::string's; without this one `s = "text"` is ambiguous.
  ZYLString& operator=(const char* text) {
    assign(text != nullptr ? text : "");
    return *this;
  }

  // Concatenation keeps the library's type. Members, not free functions: a free overload would
  // compete with the standard operator for `std::string + ZYLString` and make it ambiguous.
  [[nodiscard]] ZYLString operator+(const std::string& right) const {
    ZYLString joined;
    joined.reserve(size() + right.size());
    joined.append(*this).append(right);
    return joined;
  }
  [[nodiscard]] ZYLString operator+(std::string&& right) const {
    right.insert(0, *this);
    return ZYLString(std::move(right));
  }
  [[nodiscard]] ZYLString operator+(const char* right) const {
    return *this + std::string(right != nullptr ? right : "");
  }

  // A copy with every byte passed through toupper under the current locale.
  [[nodiscard]] ZYLString UpperCase() const {
    ZYLString upper(*this);
    for (char& c : upper) {
      // <cctype> is undefined for negative values: bytes 0x80-0xFF must reach it unsigned.
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
  }

  // Zero-based position of the first occurrence of `needle`, or 0 when there is none (so 0 also
  // means "found at the first byte": only results above 0 are a sure match). An empty needle
  // gives 0.
  [[nodiscard]] std::int32_t FindPos(const std::string& needle) const {
    const size_type pos = find(needle);
    return pos == npos ? 0 : static_cast<std::int32_t>(pos);
  }
};

#endif  // ZYL_ZYL_STRING_H_
