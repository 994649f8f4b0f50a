#ifndef ZYL_TOOLS_ZYL_CHECK_H_
#define ZYL_TOOLS_ZYL_CHECK_H_

#include <CLI/CLI.hpp>
#include <string>

namespace zyl::tool {

// A check of an option's value for CLI11: `problem` gives what is wrong with it, or empty. No
// description: CLI11 would add it to the value's name in the help.
inline CLI::Validator Check(std::string (*problem)(const std::string& value)) {
  return CLI::Validator([problem](std::string& value) { return problem(value); }, "");
}

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_CHECK_H_
