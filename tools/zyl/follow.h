#ifndef ZYL_TOOLS_ZYL_FOLLOW_H_
#define ZYL_TOOLS_ZYL_FOLLOW_H_

// 'zyl show --follow': the log's new records as they are appended.

#include "output.h"
#include "record_reader.h"

namespace zyl::tool {

// Feeds `reader` what is appended to `file` past `position`, looking four times a second, and
// passes on each whole record at once; from the start again when the file was deleted or started
// anew. With `until` (a time key) it returns once that local time has passed: no record appended
// later can match. kFailed, with a complaint, when the file cannot be read or output fails.
Status Follow(const std::string& file, std::uint64_t position, std::optional<std::int64_t> until,
              RecordReader& reader, Output& out);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_FOLLOW_H_
