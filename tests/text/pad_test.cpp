#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>

#include "properties.h"
#include "zyl/zyl.h"

namespace {

TEST(PadString, FillsUpToTheWidthOnTheChosenSide) {
  const struct {
    std::string text;
    char fill;
    std::int32_t width;
    bool pad_left;
    std::string want;
  } cases[] = {
      {"42", '0', 5, true, "00042"},
      {"abc", ' ', 6, false, "abc   "},
      {"", '*', 4, true, "****"},
      {"", '*', 4, false, "****"},
      {"a", '\0', 3, true, std::string("\0\0a", 3)},  // a NUL fill is a byte like any other
      {std::string("\0b", 2), '-', 4, false, std::string("\0b--", 4)},
      {"abc", '.', 4, true, ".abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text) << " to " << c.width
                                    << (c.pad_left ? " on the left" : " on the right"));
    EXPECT_EQ(PadString(c.text, c.fill, c.width, c.pad_left), c.want);
  }
}

TEST(PadString, NeverShortensAndIgnoresWidthsUpToTheLength) {
  for (const std::int32_t width : {6, 5, 3, 1, 0, -1, -6, INT32_MIN}) {
    for (const bool pad_left : {true, false}) {
      SCOPED_TRACE(testing::Message() << width << (pad_left ? " left" : " right"));
      EXPECT_EQ(PadString("abcdef", '#', width, pad_left), "abcdef");
      EXPECT_EQ(PadString("", '#', width, pad_left), std::string(std::max(width, 0), '#'));
    }
  }
}

// Texts from empty to over a kibibyte against widths on both sides of their length.
TEST(PadString, PropertiesHoldForRandomInput) {
  std::mt19937 rng(715);
  for (int i = 0; i < 3000; ++i) {
    std::string text(rng() % 1500, '\0');
    for (char& c : text) c = static_cast<char>(rng());
    const char fill = static_cast<char>(rng());
    const auto width = static_cast<std::int32_t>(rng() % 1700) - 20;
    const bool pad_left = rng() % 2 == 0;
    EXPECT_EQ(zyl::fuzz::CheckPad(text, fill, width, pad_left), nullptr)
        << text.size() << " bytes to " << width << (pad_left ? " on the left" : " on the right");
  }
}

// Where a string cannot hold the width (32-bit builds), the call must come back, not throw: an
// exception from the 32-bit DLL cannot be caught by its caller and would end the process.
TEST(PadString, WidthBeyondAnyStringGivesEmpty) {
  if (std::string().max_size() >= static_cast<std::size_t>(INT32_MAX)) {
    GTEST_SKIP() << "a string here can hold any 32-bit width";
  }
  for (const bool pad_left : {true, false}) {
    EXPECT_EQ(PadString("abc", ' ', INT32_MAX, pad_left), "");
  }
}

}  // namespace
