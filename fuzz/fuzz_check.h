#ifndef ZYL_FUZZ_FUZZ_CHECK_H_
#define ZYL_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

// Stops the run on a broken invariant; libFuzzer then saves the input that broke it.
#define ZYL_FUZZ_CHECK(condition)                                                            \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)

// An answer to "does the processor have SSE2?" for the 32-bit DLL's chosen scans, so that a
// fuzzer takes both ways on any machine.
struct Sse2Answer {
  bool yes;
  bool operator()() const { return yes; }
};
inline constexpr Sse2Answer kBothAnswers[] = {{true}, {false}};

#endif  // ZYL_FUZZ_FUZZ_CHECK_H_
