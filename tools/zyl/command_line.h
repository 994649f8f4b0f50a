#ifndef ZYL_TOOLS_ZYL_COMMAND_LINE_H_
#define ZYL_TOOLS_ZYL_COMMAND_LINE_H_

// The command-line grammar of zyl: a command name, then its options and arguments. Options take
// GNU forms (-w 5, -w5, --width 5, --width=5); "--" ends them; "-" alone is an argument.

#include <string>
#include <utility>
#include <vector>

namespace zyl::tool {

struct OptionSyntax {
  char short_name;  // '\0': long form only
  const char* long_name;
  const char* value_name;  // null: a flag
  const char* help;
};

struct CommandSyntax {
  const char* name;
  const char* usage;    // what follows "zyl NAME" in the usage line
  const char* summary;  // one line, for the command list
  const char* details;  // the rest of the command's help; may be empty
  std::vector<OptionSyntax> options;
  std::vector<const char*> arguments;  // names of the positional arguments, in order
  std::size_t required_arguments;
};

struct ParsedCommand {
  enum class Outcome { kRun, kHelp, kVersion, kUsageError };
  Outcome outcome = Outcome::kUsageError;
  const CommandSyntax* command = nullptr;  // null: the program as a whole
  // Options in the order given, by long name; a flag's value is empty.
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<std::string> arguments;
  std::string error;  // for kUsageError
};

// Parses `args` (without the program name) against `commands`.
ParsedCommand ParseCommandLine(const std::vector<std::string>& args,
                               const std::vector<CommandSyntax>& commands);

// The help text of one command, or with a null `command` of the program.
std::string HelpText(const CommandSyntax* command, const std::vector<CommandSyntax>& commands);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_COMMAND_LINE_H_
