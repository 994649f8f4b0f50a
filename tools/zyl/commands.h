#ifndef ZYL_TOOLS_ZYL_COMMANDS_H_
#define ZYL_TOOLS_ZYL_COMMANDS_H_

#include <iosfwd>
#include <string>
#include <vector>

namespace zyl::tool {

// Exit statuses, as the help text states them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDebugOff = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFailed = 3;

// Runs zyl with `args` (without the program name): results and help go to `out`, usage errors to
// `err`, and an argument "-" reads `in` line by line. Returns the exit status.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_COMMANDS_H_
