#ifndef ZYL_TEXT_SCAN_H_
#define ZYL_TEXT_SCAN_H_

// The byte scans behind trimming and path splitting: SSE2 where the target has it; on a 32-bit x86
// target, which may lack it, SSE2 past the first 16 bytes when the processor has it, as asked once
// at load; plain C++ elsewhere. All offer
//   SkipBlanks(p, end)            the first byte in [p, end) that is not " \t\n\v\f\r", or end;
//   SkipBlanksBack(begin, end)    the start of the run of those blanks that ends at `end`;
//   PastLastSeparator(begin, end) just past the last '\\' or ':', or `begin`;
//   NonBlankBits(p, size)         a bit for each non-blank among the first `size` (< 16) bytes,
//                                 worth taking over the scans where kOneStepShortTexts says so;
// with the same result on every input (the fuzzers compare them).

#if defined(__SSE2__)
#include "text/scan_sse2.h"
namespace zyl {
namespace scan = sse2;
}
#elif defined(__i386__)
#include "text/scan_chosen.h"
namespace zyl {
namespace scan = chosen;
}
#else
#include "text/scan_portable.h"
namespace zyl {
namespace scan = portable;
}
#endif

#endif  // ZYL_TEXT_SCAN_H_
