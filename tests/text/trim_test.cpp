#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <random>
#include <string>

#include "properties.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace {

// The trimmable bytes of the "C" locale, which every test here runs under unless it says so.
bool TrimmableInC(unsigned char byte) { return byte <= 0x20 || byte == 0x7F; }

const std::string kNbsp = "\xA0";  // no-break space in Latin-1 and code page 1252

// `count` blanks, cycling through all six: runs long enough for the scans' widest steps.
std::string Blanks(std::size_t count) {
  std::string blanks(count, ' ');
  for (std::size_t i = 0; i < count; ++i) blanks[i] = " \t\n\v\f\r"[i % 6];
  return blanks;
}

TEST(ZYLTrim, EachSideStripsItsRunOfBlanksAndControlBytesOnly) {
  const std::string b = Blanks(150);
  const struct {
    std::string in, left, right, both;
  } cases[] = {
      {"\t  abc\r\n", "abc\r\n", "\t  abc", "abc"},
      {"abc", "abc", "abc", "abc"},
      {"", "", "", ""},
      {" \t\r\n\v\f", "", "", ""},
      {std::string("\0\x01\x1F\x7F", 4), "", "", ""},  // NUL and DEL are control bytes
      {std::string("\0a\0", 3), std::string("a\0", 2), std::string("\0a", 2), "a"},
      {std::string(" a \t\0 b ", 8), std::string("a \t\0 b ", 7), std::string(" a \t\0 b", 7),
       std::string("a \t\0 b", 6)},  // interior bytes stay, whatever they are
      {kNbsp + "a" + kNbsp, kNbsp + "a" + kNbsp, kNbsp + "a" + kNbsp, kNbsp + "a" + kNbsp},
      {"\x80\xFF", "\x80\xFF", "\x80\xFF", "\x80\xFF"},  // no high byte is blank in "C"
      {" $@` ", "$@` ", " $@`", "$@`"},                  // printable ASCII stays
      {" ! ~ ", "! ~ ", " ! ~", "! ~"},
      {"\x1Fx\x7F", "x\x7F", "\x1Fx", "x"},  // 'x' is no hex digit: three bytes
      {b, "", "", ""},
      {b + "x" + b, "x" + b, b + "x", "x"},
      // Control bytes inside long runs of blanks: the scans go on past them.
      {b + '\x01' + b + "ab" + b + '\x7F' + b, "ab" + b + '\x7F' + b, b + '\x01' + b + "ab", "ab"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.in));
    EXPECT_EQ(ZYLTrimLeft(c.in), c.left);
    EXPECT_EQ(ZYLTrimRight(c.in), c.right);
    EXPECT_EQ(ZYLTrim(c.in), c.both);
  }
}

TEST(ZYLTrim, TrimsExactlyTheBytesTheCLocaleCallsBlankOrControl) {
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE(byte);
    const char c = static_cast<char>(byte);
    // Runs of a whole word and more on each side: the scans test words and vectors too.
    const std::string framed = std::string(9, c) + 'x' + std::string(17, c);
    const std::string want = TrimmableInC(static_cast<unsigned char>(byte)) ? "x" : framed;
    EXPECT_EQ(ZYLTrim(framed), want);
  }
}

// Random strings drawn mostly from bytes near the line between trimmable and kept.
std::string RandomText(std::mt19937& rng) {
  static const char palette[] = "\0\x01\t\n\v\f\r\x1F \x7F\x80\x85\xA0\xFF!$@`azZ0~";
  std::string text(rng() % 40, '\0');
  for (char& c : text) c = palette[rng() % (sizeof palette - 1)];
  return text;
}

TEST(ZYLTrim, PropertiesHoldForRandomText) {
  std::mt19937 rng(20240607);
  for (int i = 0; i < 4000; ++i) {
    const std::string in = RandomText(rng);
    EXPECT_EQ(zyl::fuzz::CheckTrim(in), nullptr) << testing::PrintToString(in);
  }
}

// A host that switches its locale switches the set: the library asks the C library of the
// process each time and never keeps an answer.
TEST(ZYLTrim, FollowsTheLocaleTheHostSets) {
  const char* const locales[] = {
      "en_US.ISO-8859-1",           "en_US.iso88591", "de_DE.ISO-8859-1", "fr_FR.ISO-8859-15",
      "English_United States.1252", ".1252",
  };
  bool tried = false;
  for (const char* name : locales) {
    zyl::testing::ScopedCtypeLocale locale(name);
    if (!locale.ok()) continue;
    int changed = 0;
    for (int byte = 0x80; byte < 0x100; ++byte) {
      SCOPED_TRACE(testing::Message() << name << " byte " << byte);
      const bool trimmable = std::isspace(byte) != 0 || std::iscntrl(byte) != 0;
      if (trimmable) ++changed;
      const char c = static_cast<char>(byte);
      const std::string framed{c, 'x', c};
      EXPECT_EQ(ZYLTrim(framed), trimmable ? "x" : framed);
    }
    tried = tried || changed > 0;
    if (std::string(name).find("1252") != std::string::npos) {
      EXPECT_EQ(ZYLTrim(kNbsp + "x" + kNbsp), "x");  // a blank in code page 1252
    }
  }
  if (!tried) GTEST_SKIP() << "no installed locale classifies a byte above 0x7F as blank/control";
}

}  // namespace
