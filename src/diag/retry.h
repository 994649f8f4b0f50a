#ifndef ZYL_DIAG_RETRY_H_
#define ZYL_DIAG_RETRY_H_

// The one policy for trying again, shared by the library and zyl: work another process holds up
// (a lock, a locked range) is tried for about a second, and work that lost a race to a rename is
// tried a few times. The platform's calls try once and say which of the two a failure was.

#include <algorithm>
#include <cstdint>

#include "platform/platform.h"

namespace zyl {

// How often work is tried in all when a name moved between a look and the act on it.
inline constexpr int kRaceAttempts = 3;

// The longest work waits for another process, from its first try.
inline constexpr std::uint64_t kBusyWaitMs = 1000;
// The longest pause between tries: about one tick of the Windows clock.
inline constexpr std::uint64_t kLongestPauseMs = 16;

// Runs `attempt` until it gives platform::Try::kDone or kFailed, or a second passes with kBusy.
// Pauses between tries grow from none to kLongestPauseMs (0, 1, 3, 7, 15, 16, ... ms), so a lock
// released at once costs no sleep and a long one costs few wake-ups. Returns the last outcome.
template <class Attempt>
platform::Try RetryWhileBusy(const Attempt& attempt) {
  platform::Try outcome = attempt();
  if (outcome != platform::Try::kBusy) return outcome;
  const std::uint64_t deadline = platform::MonotonicMs() + kBusyWaitMs;
  for (std::uint64_t pause = 0;; pause = std::min(2 * pause + 1, kLongestPauseMs)) {
    const std::uint64_t now = platform::MonotonicMs();
    if (now >= deadline) return outcome;
    platform::PauseMs(std::min(pause, deadline - now));
    outcome = attempt();
    if (outcome != platform::Try::kBusy) return outcome;
  }
}

}  // namespace zyl

#endif  // ZYL_DIAG_RETRY_H_
