#ifndef ZYL_TOOLS_ZYL_COMMANDS_H_
#define ZYL_TOOLS_ZYL_COMMANDS_H_

namespace zyl::tool {

// Runs zyl with the command line `argv`: results and help go to standard output, complaints to
// standard error, and an argument "-" reads standard input line by line. Returns the exit status.
int Run(int argc, char** argv);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_COMMANDS_H_
