#ifndef ZYL_ZYL_STRING_H_
#define ZYL_ZYL_STRING_H_

#include <cctype>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

// The library's byte string: a std::string with a few constructors and operations added. It holds
// no data of its own, so it passes wherever a std::string is expected. Bytes are never converted;
// positions and lengths are byte counts. Everything here is inline: no member crosses the DLL
// boundary, only whole values do.
class ZYLString : public std::string {
 public:
  ZYLString() = default;
  ZYLString(const std::string& text) : std::string(text) {}  // NOLINT: converts by copy
  ZYLString(std::string&& text) noexcept                      // NOLINT
      : std::string(std::move(text)) {}
  ZYLString(size_type count, char c) : std::string(count, c) {}
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

// Concatenation keeps the library's type.
inline ZYLString operator+(const ZYLString& left, const std::string& right) {
  ZYLString joined;
  joined.reserve(left.size() + right.size());
  joined.append(left).append(right);
  return joined;
}
inline ZYLString operator+(const ZYLString& left, std::string&& right) {
  right.insert(0, left);
  return ZYLString(std::move(right));
}
inline ZYLString operator+(const ZYLString& left, const ZYLString& right) {
  return left + static_cast<const std::string&>(right);
}
inline ZYLString operator+(const ZYLString& left, const char* right) {
  return left + std::string(right != nullptr ? right : "");
}

#endif  // ZYL_ZYL_STRING_H_
