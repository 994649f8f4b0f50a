#ifndef ZYL_FUZZ_FUZZ_CHECK_H_
#define ZYL_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#include "properties.h"

namespace zyl::fuzz {

// Stops the run on a broken property (`broken` not null); libFuzzer then saves the input.
inline void StopIfBroken(const char* broken) {
  if (broken == nullptr) return;
  std::fprintf(stderr, "property failed: %s\n", broken);
  std::abort();
}

}  // namespace zyl::fuzz

// Stops the run unless `condition` holds: for the checks only the fuzzers make.
#define ZYL_FUZZ_CHECK(condition) ::zyl::fuzz::StopIfBroken((condition) ? nullptr : #condition)

#endif  // ZYL_FUZZ_FUZZ_CHECK_H_
