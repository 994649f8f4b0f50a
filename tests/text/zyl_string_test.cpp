#include "zyl/zyl_string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <locale>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>

#include "test_support.h"

namespace {

using std::string_literals::operator""s;

template <class L, class R>
using Sum = decltype(std::declval<L>() + std::declval<R>());
template <class R>
using Assigned = decltype(std::declval<ZYLString&>() = std::declval<R>());

// Concatenation keeps the type when ZYLString is on the left; on the right of the standard `+` a
// ZYLString passes as the std::string it is.
static_assert(std::is_same_v<Sum<const ZYLString&, const std::string&>, ZYLString>);
static_assert(std::is_same_v<Sum<const ZYLString&, std::string&&>, ZYLString>);
static_assert(std::is_same_v<Sum<const ZYLString&, const ZYLString&>, ZYLString>);
static_assert(std::is_same_v<Sum<ZYLString&&, const ZYLString&>, ZYLString>);
static_assert(std::is_same_v<Sum<const ZYLString&, const char*>, ZYLString>);
static_assert(std::is_same_v<Sum<const std::string&, const ZYLString&>, std::string>);
static_assert(std::is_same_v<Sum<const char*, const ZYLString&>, std::string>);
// Every text form assigns, yielding the string itself, so assignments chain as ZYLString.
static_assert(std::is_same_v<Assigned<const std::string&>, ZYLString&>);
static_assert(std::is_same_v<Assigned<std::string&&>, ZYLString&>);
static_assert(std::is_same_v<Assigned<const ZYLString&>, ZYLString&>);
static_assert(std::is_same_v<Assigned<const char*>, ZYLString&>);

// Groups thousands with a comma, as many national locales do.
struct GroupingPunct : std::numpunct<char> {
  char do_thousands_sep() const override { return ','; }
  std::string do_grouping() const override { return "\3"; }
};

class ScopedGlobalLocale {
 public:
  explicit ScopedGlobalLocale(const std::locale& locale) : old_(std::locale::global(locale)) {}
  ~ScopedGlobalLocale() { std::locale::global(old_); }

 private:
  std::locale old_;
};

TEST(ZYLString, TakesANullPointerAsTheEmptyText) {
  const char* const null_text = nullptr;
  ZYLString assigned("old");
  assigned = null_text;
  EXPECT_EQ(ZYLString(null_text) + assigned + null_text, "");
}

TEST(ZYLString, IntegerConstructorWritesPlainDecimal) {
  const struct {
    std::int32_t in;
    const char* want;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {-7, "-7"},
      {10, "10"},
      {1000000, "1000000"},
      {-1234567, "-1234567"},
      {INT32_MAX, "2147483647"},
      {INT32_MIN, "-2147483648"},
  };
  const struct {
    std::locale global;
    const char* stream_text;  // what a default stream writes for 1234567 under it
  } locales[] = {
      {std::locale::classic(), "1234567"},
      {std::locale(std::locale::classic(), new GroupingPunct), "1,234,567"},
  };
  for (const auto& l : locales) {
    SCOPED_TRACE(l.stream_text);
    const ScopedGlobalLocale scoped(l.global);
    std::ostringstream stream;
    stream << 1234567;
    ASSERT_EQ(stream.str(), l.stream_text);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.in);
      EXPECT_EQ(ZYLString(c.in), c.want);
    }
  }
}

TEST(ZYLString, ConcatenationJoinsBytesAndLeavesOperandsAlone) {
  const struct {
    std::string left, right;
  } cases[] = {
      {"", ""},
      {"abc", ""},
      {"", "abc"},
      {"C:\\APPS\\", "RIROVIVE.EXE"},
      {"a\0b"s, "\0c"s},  // NULs inside either side stay
      {std::string(300, 'x'), std::string(300, 'y')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.left + "|" + c.right));
    const std::string want = c.left + c.right;
    const ZYLString left(c.left);
    const std::string right(c.right);
    EXPECT_EQ(left + right, want);
    EXPECT_EQ(left + std::string(c.right), want);
    EXPECT_EQ(left + ZYLString(c.right), want);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(right, c.right);
  }
  const ZYLString self("ab");
  EXPECT_EQ(self + self, "abab");
}

TEST(ZYLString, UpperCaseChangesOnlyAsciiLettersInTheCLocale) {
  const zyl::testing::ScopedCtypeLocale c_locale("C");
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte.push_back(static_cast<char>(b));
  const ZYLString text(every_byte);
  const ZYLString upper = text.UpperCase();
  ASSERT_EQ(upper.size(), 256u);
  for (int b = 0; b < 256; ++b) {
    const int want = b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b;
    EXPECT_EQ(static_cast<unsigned char>(upper[b]), want) << "byte " << b;
  }
  EXPECT_EQ(text, every_byte);
}

TEST(ZYLString, FindPosGivesTheFirstMatchOrZero) {
  const struct {
    std::string haystack, needle;
    std::int32_t want;
  } cases[] = {
      {"C:\\APPS\\RIROVIVE.EXE", "RIROVIVE.EXE", 8},
      {"ABCRIROVIVE.EXE", "RIROVIVE.EXE", 3},
      {"RIROVIVE.EXE", "RIROVIVE.EXE", 0},  // found at the first byte: the same as absent
      {"C:\\APPS\\OTHER.EXE", "RIROVIVE.EXE", 0},
      {"C:\\APPS\\rirovive.exe", "RIROVIVE.EXE", 0},  // bytes, not letters
      {"RIROVIVE.EX", "RIROVIVE.EXE", 0},             // needle longer than what is left
      {"abab", "b", 1},                               // the first of two
      {"abc", "", 0},
      {"", "", 0},
      {"", "a", 0},
      {"\0\0x"s, "x", 2},       // NULs before the match count as bytes
      {"a\0b\0c"s, "\0c"s, 3},  // a needle may hold NULs
      {"xab", "a\0"s, 0},       // and its NUL must match too
      {"x\0a\0b"s, "\0b"s, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.haystack) + " / " + testing::PrintToString(c.needle));
    const ZYLString haystack(c.haystack);
    EXPECT_EQ(haystack.FindPos(c.needle), c.want);
    EXPECT_EQ(haystack, c.haystack);
  }
}

}  // namespace
