#ifndef ZYL_TOOLS_ZYL_FILTER_H_
#define ZYL_TOOLS_ZYL_FILTER_H_

// The '-' argument: a command runs once for each line of standard input.

#include <functional>

#include "output.h"

namespace zyl::tool {

using LineStep = std::function<Status(std::string_view line)>;

// Hands each line of the stream `fd`, without its LF or CR LF, to `step` and returns the highest
// status it gave. Stops after a kFailed or a failed output: later lines would no longer line up
// with their results. What `out` holds is written before each wait for input. kFailed, with a
// complaint, when the input cannot be read or a line does not fit in memory.
Status ForEachLine(int fd, Output& out, const LineStep& step);

using TextStep = std::function<Status(const std::string& text, const std::string& other)>;

// Runs `step` on a command's one or two texts once, or, when one of them is "-", once for each
// line of standard input in its place (ForEachLine).
Status RunOnTexts(const std::string& text, const std::string& other, const TextStep& step,
                  Output& out);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_FILTER_H_
