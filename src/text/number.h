#ifndef ZYL_TEXT_NUMBER_H_
#define ZYL_TEXT_NUMBER_H_

// Whole numbers read from text strictly, as ZYL_LOG_ROTATE and zyl's options and cursor file take
// them.

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace zyl {

// `text` as a number in `base`, all of it: no sign but a minus, no blanks, no prefix.
template <class Number>
std::optional<Number> ParseNumber(std::string_view text, int base = 10) {
  Number value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || stop != text.data() + text.size()) return {};
  return value;
}

}  // namespace zyl

#endif  // ZYL_TEXT_NUMBER_H_
