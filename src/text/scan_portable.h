#ifndef ZYL_TEXT_SCAN_PORTABLE_H_
#define ZYL_TEXT_SCAN_PORTABLE_H_

// The byte scans of trimming and path splitting in plain C++: the path of targets without SSE2,
// and the reference the vector scans must agree with.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zyl::portable {

// The six bytes C makes white space in every locale: " \t\n\v\f\r".
inline bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte == ' ' || static_cast<unsigned char>(byte - '\t') <= '\r' - '\t';
}

inline bool IsSeparator(char c) { return c == '\\' || c == ':'; }

// sizeof(Word) bytes from `p` in one load, the first in the lowest bits whatever the host's byte
// order.
template <class Word>
Word LoadWord(const char* p) {
  Word word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__) {
    if constexpr (sizeof(Word) == 8) word = __builtin_bswap64(word);
    if constexpr (sizeof(Word) == 4) word = __builtin_bswap32(word);
  }
  return word;
}

template <class Word>
inline constexpr Word kEveryByte = static_cast<Word>(~Word{0}) / 0xFF;
template <class Word>
inline constexpr Word kTopBits = kEveryByte<Word> * 0x80;

// The top bit of every byte of `word` that equals `byte`, and no other bit: the sum stays within
// each byte's low seven bits, so nothing carries into a neighbour.
template <class Word>
Word BytesEqual(Word word, char byte) {
  constexpr Word kLow7 = kEveryByte<Word> * 0x7F;
  const Word diff = word ^ (kEveryByte<Word> * static_cast<unsigned char>(byte));
  return static_cast<Word>(~(((diff & kLow7) + kLow7) | diff | kLow7));
}

// The top bit of every byte of `word` that is a blank. Of a byte below 0x80, adding 0x77 sets the
// top bit from '\t' on and adding 0x72 from past '\r' on; neither sum carries out of its byte.
template <class Word>
Word BlankBytes(Word word) {
  const Word low7 = word & (kEveryByte<Word> * 0x7F);
  const Word from_tab = low7 + kEveryByte<Word> * 0x77;
  const Word past_cr = low7 + kEveryByte<Word> * 0x72;
  return static_cast<Word>((from_tab & ~past_cr & ~word & kTopBits<Word>) | BytesEqual(word, ' '));
}

// The first byte in [p, end) that is not a blank, or `end`; long runs a word at a time.
template <class Word = std::uintptr_t>
const char* SkipBlanks(const char* p, const char* end) {
  while (static_cast<std::size_t>(end - p) >= sizeof(Word) &&
         BlankBytes(LoadWord<Word>(p)) == kTopBits<Word>) {
    p += sizeof(Word);
  }
  while (p != end && IsBlank(*p)) ++p;
  return p;
}

// The start of the run of blanks that ends at `end`, `begin` at the earliest.
template <class Word = std::uintptr_t>
const char* SkipBlanksBack(const char* begin, const char* end) {
  while (static_cast<std::size_t>(end - begin) >= sizeof(Word) &&
         BlankBytes(LoadWord<Word>(end - sizeof(Word))) == kTopBits<Word>) {
    end -= sizeof(Word);
  }
  while (end != begin && IsBlank(end[-1])) --end;
  return end;
}

// The index of the last byte whose top bit `hits` sets; `hits` is not 0.
template <class Word>
std::size_t LastHit(Word hits) {
  if constexpr (sizeof(Word) <= sizeof(unsigned)) {
    return static_cast<std::size_t>(31 - __builtin_clz(hits)) / 8;
  } else {
    return static_cast<std::size_t>(63 - __builtin_clzll(hits)) / 8;
  }
}

// Just past the last backslash or colon in [begin, end), or `begin` when there is none. A word
// of the target's width at a time from the end, each tested as soon as it is loaded: a 32-bit
// target gets 32-bit words, not pairs of registers.
template <class Word = std::uintptr_t>
const char* PastLastSeparator(const char* begin, const char* end) {
  for (; static_cast<std::size_t>(end - begin) >= sizeof(Word); end -= sizeof(Word)) {
    const Word word = LoadWord<Word>(end - sizeof(Word));
    const Word hits = BytesEqual(word, '\\') | BytesEqual(word, ':');
    if (hits != 0) return end - sizeof(Word) + LastHit(hits) + 1;
  }
  while (end != begin && !IsSeparator(end[-1])) --end;
  return end;
}

}  // namespace zyl::portable

#endif  // ZYL_TEXT_SCAN_PORTABLE_H_
