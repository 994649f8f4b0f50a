#ifndef ZYL_TOOLS_ZYL_READER_FOLLOW_H_
#define ZYL_TOOLS_ZYL_READER_FOLLOW_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "log_files.h"
#include "output.h"

namespace zyl::tool {

// Looks at `logs` four times a second, so each entry passes on once it is whole, and calls
// `looked` after each look; a status from it other than kOk ends the follow with that status.
// With `until` (an instant) it returns once that local time has passed: no record appended later
// can match. kFailed, with a complaint, when a file cannot be read.
Status Follow(const std::vector<std::unique_ptr<LogFiles>>& logs, std::optional<std::int64_t> until,
              const std::function<bool()>& go_on, const std::function<Status()>& looked);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_FOLLOW_H_
