#ifndef ZYL_TEXT_SCAN_CHOSEN_H_
#define ZYL_TEXT_SCAN_CHOSEN_H_

// The scans of a target that may lack SSE2 (the 32-bit DLL). Every scan takes its first 16 bytes
// the portable way, so a short run costs what it costs without SSE2; only a longer one goes on
// with the vector scans of scan_sse2.h, when the processor has SSE2, as asked once at load.

#include <cpuid.h>

#include "text/scan_portable.h"
#include "text/scan_sse2.h"

namespace zyl::chosen {

inline bool ProcessorHasSse2() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & bit_SSE2) != 0;
}

// Set when the library is loaded. Until then it is false, and the portable way is right too.
inline const bool kHasSse2 = ProcessorHasSse2();

// Which way a long run goes on: the processor's answer, or a test's own.
struct AskProcessor {
  bool operator()() const { return kHasSse2; }
};

constexpr std::ptrdiff_t kHead = 16;

template <class UseSse2 = AskProcessor>
const char* SkipBlanks(const char* p, const char* end, UseSse2 use_sse2 = {}) {
  if (end - p <= kHead) return portable::SkipBlanks(p, end);
  const char* const stop = portable::SkipBlanks(p, p + kHead);
  if (stop != p + kHead) return stop;
  return use_sse2() ? sse2::SkipBlanks(stop, end) : portable::SkipBlanks(stop, end);
}

template <class UseSse2 = AskProcessor>
const char* SkipBlanksBack(const char* begin, const char* end, UseSse2 use_sse2 = {}) {
  if (end - begin <= kHead) return portable::SkipBlanksBack(begin, end);
  const char* const stop = portable::SkipBlanksBack(end - kHead, end);
  if (stop != end - kHead) return stop;
  return use_sse2() ? sse2::SkipBlanksBack(begin, stop) : portable::SkipBlanksBack(begin, stop);
}

template <class UseSse2 = AskProcessor>
const char* PastLastSeparator(const char* begin, const char* end, UseSse2 use_sse2 = {}) {
  if (end - begin <= kHead) return portable::PastLastSeparator(begin, end);
  const char* const found = portable::PastLastSeparator(end - kHead, end);
  if (found != end - kHead) return found;
  return use_sse2() ? sse2::PastLastSeparator(begin, found)
                    : portable::PastLastSeparator(begin, found);
}

// Short texts take the scans above.
using portable::kOneStepShortTexts;
using portable::NonBlankBits;

}  // namespace zyl::chosen

#endif  // ZYL_TEXT_SCAN_CHOSEN_H_
