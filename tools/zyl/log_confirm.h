#ifndef ZYL_TOOLS_ZYL_LOG_CONFIRM_H_
#define ZYL_TOOLS_ZYL_LOG_CONFIRM_H_

// How 'zyl log' knows its record is there: it reads it back.

#include <cstdint>
#include <string>

namespace zyl::tool {

// Looks in `file`, from byte `from` on, for the record this program's SendDebugMsg appended for
// `message`: whole, and read as the log's reader reads every record. Other writers' records may
// come before or after it. Empty when it is there; otherwise why it was not found.
std::string ConfirmAppended(const std::string& file, std::uint64_t from,
                            const std::string& message);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_LOG_CONFIRM_H_
