#ifndef ZYL_TOOLS_ZYL_STDIN_LINES_H_
#define ZYL_TOOLS_ZYL_STDIN_LINES_H_

// The '-' argument: a command runs once for each line of standard input.

#include <functional>

#include "output.h"

namespace zyl::tool {

// Hands each line of the stream `fd`, without its LF or CR LF, to `step` and returns the highest
// status it gave. Stops after a kFailed or a failed output: later lines would no longer line up
// with their results. What `out` holds is written before each wait for input. kFailed, with a
// complaint, when the input cannot be read or a line does not fit in memory.
Status ForEachLine(int fd, Output& out, const std::function<Status(std::string_view line)>& step);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_STDIN_LINES_H_
