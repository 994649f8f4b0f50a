#ifndef ZYL_TEXT_SCAN_H_
#define ZYL_TEXT_SCAN_H_

// The byte scans behind trimming and path splitting: SSE2 where the target has it (every target
// we ship: x86-64, and i686 built with -msse2), plain C++ elsewhere. Both offer
//   SkipBlanks(p, end)            the first byte in [p, end) that is not " \t\n\v\f\r", or end;
//   SkipBlanksBack(begin, end)    the start of the run of those blanks that ends at `end`;
//   PastLastSeparator(begin, end) just past the last '\\' or ':', or `begin`;
// with the same result on every input (the fuzzers compare them). None reads outside
// [begin, end).

#if defined(__SSE2__)
#include "text/scan_sse2.h"
namespace zyl {
namespace scan = sse2;
}
#else
#include "text/scan_portable.h"
namespace zyl {
namespace scan = portable;
}
#endif

#endif  // ZYL_TEXT_SCAN_H_
