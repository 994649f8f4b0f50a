#ifndef ZYL_TEXT_SCAN_SSE2_H_
#define ZYL_TEXT_SCAN_SSE2_H_

// The byte scans of scan_portable.h sixteen bytes at a time, for targets that have SSE2. Same
// results on every input, and no load leaves the range: ranges shorter than a vector take the
// portable path, a byte at a time, but for the separator scan of 8 to 15 bytes (most file names),
// which loads two overlapping halves.

#include <emmintrin.h>

#include <cstddef>

#include "text/scan_portable.h"

namespace zyl::sse2 {

constexpr std::ptrdiff_t kWidth = 16;

inline __m128i Load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// One bit per byte of a compare's result, the first byte in the lowest bit.
inline unsigned Bits(__m128i mask) { return static_cast<unsigned>(_mm_movemask_epi8(mask)); }

inline unsigned FirstBit(unsigned bits) { return static_cast<unsigned>(__builtin_ctz(bits)); }
inline unsigned LastBit(unsigned bits) { return static_cast<unsigned>(31 - __builtin_clz(bits)); }

// All ones in every byte that is one of the six blanks: a space, or '\t' to '\r'. Shifted by
// 0x80 - '\t', exactly '\t' to '\r' land on the five lowest signed values.
inline __m128i Blanks(__m128i bytes) {
  const __m128i shifted = _mm_add_epi8(bytes, _mm_set1_epi8(static_cast<char>(0x80 - '\t')));
  const __m128i tab_to_cr =
      _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(0x80 + '\r' - '\t' + 1)));
  return _mm_or_si128(tab_to_cr, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')));
}

// One bit for every byte at `p` that is not a blank.
inline unsigned NonBlanks(const char* p) { return ~Bits(Blanks(Load(p))) & 0xFFFF; }

// Whether the 64 bytes at `p` are all blanks: long runs go four vectors to a branch.
inline bool AllBlank64(const char* p) {
  const __m128i both_low = _mm_and_si128(Blanks(Load(p)), Blanks(Load(p + 16)));
  const __m128i both_high = _mm_and_si128(Blanks(Load(p + 32)), Blanks(Load(p + 48)));
  return Bits(_mm_and_si128(both_low, both_high)) == 0xFFFF;
}

// Past the first vector.
inline const char* SkipLongBlanks(const char* p, const char* end) {
  while (end - p >= 4 * kWidth && AllBlank64(p)) p += 4 * kWidth;
  for (; end - p >= kWidth; p += kWidth) {
    if (const unsigned others = NonBlanks(p); others != 0) return p + FirstBit(others);
  }
  if (p == end) return end;
  // The last vector overlaps bytes already found blank.
  const unsigned others = NonBlanks(end - kWidth);
  return others != 0 ? end - kWidth + FirstBit(others) : end;
}

inline const char* SkipLongBlanksBack(const char* begin, const char* end) {
  while (end - begin >= 4 * kWidth && AllBlank64(end - 4 * kWidth)) end -= 4 * kWidth;
  for (; end - begin >= kWidth; end -= kWidth) {
    if (const unsigned others = NonBlanks(end - kWidth); others != 0) {
      return end - kWidth + LastBit(others) + 1;
    }
  }
  if (end == begin) return begin;
  const unsigned others = NonBlanks(begin);
  return others != 0 ? begin + LastBit(others) + 1 : begin;
}

inline const char* SkipBlanks(const char* p, const char* end) {
  if (end - p < kWidth) return portable::SkipBlanks(p, end);
  // Most runs end within the first vector.
  const unsigned others = NonBlanks(p);
  if (__builtin_expect(others != 0, 1)) return p + FirstBit(others);
  return SkipLongBlanks(p + kWidth, end);
}

inline const char* SkipBlanksBack(const char* begin, const char* end) {
  if (end - begin < kWidth) return portable::SkipBlanksBack(begin, end);
  const unsigned others = NonBlanks(end - kWidth);
  if (__builtin_expect(others != 0, 1)) return end - kWidth + LastBit(others) + 1;
  return SkipLongBlanksBack(begin, end - kWidth);
}

// One bit for every backslash or colon in `bytes`.
inline unsigned Separators(__m128i bytes) {
  return Bits(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\')),
                           _mm_cmpeq_epi8(bytes, _mm_set1_epi8(':'))));
}

inline unsigned Separators(const char* p) { return Separators(Load(p)); }

// The 8 bytes at `p` in the low half; the load reads those 8 and no more.
inline __m128i Load8(const char* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }

// 8 to 15 bytes: the first eight in the low half, the last eight (which overlap them) in the high.
inline const char* PastLastShortSeparator(const char* begin, const char* end) {
  const unsigned hits = Separators(_mm_unpacklo_epi64(Load8(begin), Load8(end - 8)));
  if (hits >> 8 != 0) return end - 8 + LastBit(hits >> 8) + 1;
  return hits != 0 ? begin + LastBit(hits) + 1 : begin;
}

inline const char* PastLastSeparator(const char* begin, const char* end) {
  if (end - begin < kWidth) {  // first: most paths are longer, and pass one test
    if (end - begin < 8) return portable::PastLastSeparator(begin, end);
    return PastLastShortSeparator(begin, end);
  }
  for (; end - begin >= kWidth; end -= kWidth) {
    if (const unsigned hits = Separators(end - kWidth); hits != 0) {
      return end - kWidth + LastBit(hits) + 1;
    }
  }
  if (end == begin) return begin;
  // The first vector overlaps bytes already found to hold no separator.
  const unsigned hits = Separators(begin);
  return hits != 0 ? begin + LastBit(hits) + 1 : begin;
}

}  // namespace zyl::sse2

#endif  // ZYL_TEXT_SCAN_SSE2_H_
