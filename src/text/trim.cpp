#include <array>
#include <cctype>
#include <string>

#include "frame/no_throw.h"
#include "text/bytes.h"
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

bool AlwaysKept(char c) { return kAlwaysKept[static_cast<unsigned char>(c)]; }

bool TrimmableInLocale(char c) {
  // <cctype> is undefined for negative values: bytes 0x80-0xFF must reach it unsigned.
  const auto byte = static_cast<unsigned char>(c);
  return std::isspace(byte) != 0 || std::iscntrl(byte) != 0;
}

struct Piece {
  std::size_t begin, end;
};

// The general case: bytes whose class only the locale knows may stand among the blanks.
[[gnu::cold, gnu::noinline]] Piece KeptPieceAskingLocale(const char* data, std::size_t size,
                                                         bool left, bool right) {
  const char* const end = data + size;
  const char* first = data;
  while (left && first != end && !AlwaysKept(*first) && TrimmableInLocale(*first)) {
    first = zyl::scan::SkipBlanks(first + 1, end);
  }
  const char* last = end;
  while (right && last != first && !AlwaysKept(last[-1]) && TrimmableInLocale(last[-1])) {
    last = zyl::scan::SkipBlanksBack(first, last - 1);
  }
  return {static_cast<std::size_t>(first - data), static_cast<std::size_t>(last - data)};
}

// The kept part of [data, data + size), with the leading or trailing trimmable bytes cut as asked.
// Where the scans stop at a byte only the locale can class, the general case takes over from the
// start; this path then makes no call at all and saves no registers for one.
template <bool left, bool right>
Piece KeptPiece(const char* data, std::size_t size) {
  const char* const end = data + size;
  const char* first = data;
  if constexpr (left) {
    first = zyl::scan::SkipBlanks(data, end);
    if (first == end) return {size, size};
    if (!AlwaysKept(*first)) return KeptPieceAskingLocale(data, size, left, right);
  }
  const char* last = end;
  if constexpr (right) {
    // Back to the start of the text: after a cut on the left, the first kept byte stops the scan
    // as surely (so `last` is past it), and the vector scan may then load whole vectors that
    // begin before it.
    last = zyl::scan::SkipBlanksBack(data, end);
    if ((left || last != data) && !AlwaysKept(last[-1])) {
      return KeptPieceAskingLocale(data, size, left, right);
    }
  }
  return {static_cast<std::size_t>(first - data), static_cast<std::size_t>(last - data)};
}

template <bool left, bool right>
std::string PieceOf(const std::string& text) {
  const Piece piece = KeptPiece<left, right>(text.data(), text.size());
  return zyl::StringOf<std::string>(text.data() + piece.begin, piece.end - piece.begin);
}

}  // namespace

std::string ZYLTrimLeft(const std::string& text) {
  return zyl::NoThrow([&] { return PieceOf<true, false>(text); });
}

std::string ZYLTrimRight(const std::string& text) {
  return zyl::NoThrow([&] { return PieceOf<false, true>(text); });
}

std::string ZYLTrim(const std::string& text) {
  return zyl::NoThrow([&] { return PieceOf<true, true>(text); });
}
