#ifndef ZYL_TESTS_FRAME_PIN_PROBE_H_
#define ZYL_TESTS_FRAME_PIN_PROBE_H_

// Exit statuses of the pin probe, which loads the library named by its one argument, frees it,
// and reports whether the library is still mapped. Failures get statuses of their own, so a
// probe that could not do its job never reads as either answer.
enum PinProbeStatus : int {
  kProbeStillMapped = 10,
  kProbeUnmapped = 11,
  kProbeUsage = 12,
  kProbeLoadFailed = 13,
  kProbeLookupFailed = 14,  // loaded, yet not found by path: the final lookup would prove nothing
};

#endif  // ZYL_TESTS_FRAME_PIN_PROBE_H_
