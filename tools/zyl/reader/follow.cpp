#include "follow.h"

#include <chrono>
#include <thread>

#include "system.h"

namespace zyl::tool {

constexpr auto kPollInterval = std::chrono::milliseconds(250);

// Files are opened anew at every look and never held open: writers rename and delete them.
Status Follow(const std::vector<std::unique_ptr<LogFiles>>& logs, std::optional<std::int64_t> until,
              const std::function<bool()>& go_on, const std::function<Status()>& looked) {
  for (;;) {
    const bool last_round = until && std::time(nullptr) > *until;
    std::this_thread::sleep_for(kPollInterval);
    for (const auto& log : logs) {
      std::string problem;
      if (!log->Look(&problem, go_on)) {
        Complain("cannot read " + problem);
        return kFailed;
      }
    }
    if (const Status status = looked(); status != kOk) return status;
    if (last_round || StopRequested()) return kOk;
  }
}

}  // namespace zyl::tool
