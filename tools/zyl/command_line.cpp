#include "command_line.h"

#include <algorithm>
#include <cctype>

namespace zyl::tool {
namespace {

bool IsHelp(const std::string& arg) { return arg == "-h" || arg == "--help"; }

const CommandSyntax* FindCommand(const std::string& name,
                                 const std::vector<CommandSyntax>& commands) {
  for (const CommandSyntax& command : commands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

const OptionSyntax* FindLong(const CommandSyntax& command, const std::string& name) {
  for (const OptionSyntax& option : command.options) {
    if (name == option.long_name) return &option;
  }
  return nullptr;
}

const OptionSyntax* FindShort(const CommandSyntax& command, char name) {
  for (const OptionSyntax& option : command.options) {
    if (option.short_name != '\0' && name == option.short_name) return &option;
  }
  return nullptr;
}

ParsedCommand Fail(const CommandSyntax* command, std::string error) {
  ParsedCommand parsed;
  parsed.command = command;
  parsed.error = std::move(error);
  return parsed;
}

// Parses what follows the command name.
ParsedCommand ParseCommand(const CommandSyntax& command, const std::vector<std::string>& args) {
  ParsedCommand parsed;
  parsed.command = &command;
  // Asking for help answers whatever else is wrong with the line.
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (IsHelp(arg)) {
      parsed.outcome = ParsedCommand::Outcome::kHelp;
      return parsed;
    }
  }
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg == "-" || arg.empty() || arg[0] != '-') {
      parsed.arguments.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    const bool is_long = arg[1] == '-';
    const OptionSyntax* option = nullptr;
    std::string written;  // the option as the user wrote it, for messages
    std::string attached;
    bool has_attached = false;
    if (is_long) {
      const std::size_t equals = arg.find('=');
      written = arg.substr(0, equals);
      option = FindLong(command, written.substr(2));
      has_attached = equals != std::string::npos;
      if (has_attached) attached = arg.substr(equals + 1);
    } else {
      written = arg.substr(0, 2);
      option = FindShort(command, arg[1]);
      has_attached = arg.size() > 2;
      if (has_attached) attached = arg.substr(2);
    }
    if (option == nullptr) {
      return Fail(&command, "unknown option '" + arg + "' for '" + command.name +
                                "' (put -- before an argument that starts with '-')");
    }
    if (option->value_name == nullptr) {
      if (has_attached) return Fail(&command, "option '" + written + "' takes no value");
      parsed.options.emplace_back(option->long_name, "");
      continue;
    }
    if (!has_attached) {
      if (i + 1 == args.size()) {
        return Fail(&command,
                    "option '" + written + "' needs a value (" + option->value_name + ")");
      }
      attached = args[++i];  // taken as it stands, so "-w -1" is a width
    }
    parsed.options.emplace_back(option->long_name, std::move(attached));
  }
  if (parsed.arguments.size() < command.required_arguments) {
    return Fail(&command, std::string("missing ") + command.arguments[parsed.arguments.size()]);
  }
  if (parsed.arguments.size() > command.arguments.size()) {
    return Fail(&command,
                "unexpected argument '" + parsed.arguments[command.arguments.size()] + "'");
  }
  parsed.outcome = ParsedCommand::Outcome::kRun;
  return parsed;
}

}  // namespace

ParsedCommand ParseCommandLine(const std::vector<std::string>& args,
                               const std::vector<CommandSyntax>& commands) {
  if (args.empty()) return Fail(nullptr, "missing command");
  const std::string& first = args[0];
  if (IsHelp(first) || first == "help") {
    ParsedCommand parsed;
    parsed.outcome = ParsedCommand::Outcome::kHelp;
    if (first == "help" && args.size() > 1) {
      parsed.command = FindCommand(args[1], commands);
      if (parsed.command == nullptr) return Fail(nullptr, "unknown command '" + args[1] + "'");
    }
    return parsed;
  }
  if (first == "--version") {
    ParsedCommand parsed;
    parsed.outcome = ParsedCommand::Outcome::kVersion;
    return parsed;
  }
  if (first.size() > 1 && first[0] == '-') {
    return Fail(nullptr, "unknown option '" + first + "' (a command comes first)");
  }
  const CommandSyntax* command = FindCommand(first, commands);
  if (command == nullptr) return Fail(nullptr, "unknown command '" + first + "'");
  return ParseCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()));
}

std::string HelpText(const CommandSyntax* command, const std::vector<CommandSyntax>& commands) {
  std::string text;
  if (command == nullptr) {
    text =
        "Usage: zyl COMMAND [OPTIONS] [ARGUMENTS]\n"
        "\n"
        "Calls the ZIZUDUZ library from scripts, one command per export.\n"
        "\n"
        "Commands:\n";
    std::size_t width = 0;
    for (const CommandSyntax& c : commands) width = std::max(width, std::string(c.name).size());
    for (const CommandSyntax& c : commands) {
      const std::string name = c.name;
      text += "  " + name + std::string(width + 2 - name.size(), ' ') + c.summary + "\n";
    }
    text +=
        "\n"
        "An argument given as '-' is read from standard input instead: the command runs once per\n"
        "line (ending in LF or CRLF) and prints one result per line, each ending in LF.\n"
        "\n"
        "Exit status: 0 done; 1 'debug' found debug mode off; 2 bad usage; 3 the result could not\n"
        "be made or written.\n"
        "\n"
        "Run 'zyl COMMAND --help' for the options of one command.\n";
    return text;
  }
  text = std::string("Usage: zyl ") + command->name;
  if (command->usage[0] != '\0') text += std::string(" ") + command->usage;
  // The summary reads as a sentence here, as an item in the command list.
  std::string summary = command->summary;
  summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
  text += "\n\n" + summary + ".\n";
  if (command->details[0] != '\0') text += std::string("\n") + command->details;
  text += "\nOptions:\n";
  std::vector<std::pair<std::string, std::string>> rows;
  for (const OptionSyntax& option : command->options) {
    std::string left = option.short_name != '\0' ? std::string("-") + option.short_name + ", "
                                                 : std::string("    ");
    left += std::string("--") + option.long_name;
    if (option.value_name != nullptr) left += std::string("=") + option.value_name;
    rows.emplace_back(left, option.help);
  }
  rows.emplace_back("-h, --help", "show this help");
  std::size_t width = 0;
  for (const auto& row : rows) width = std::max(width, row.first.size());
  for (const auto& row : rows) {
    text += "  " + row.first + std::string(width + 2 - row.first.size(), ' ') + row.second + "\n";
  }
  return text;
}

}  // namespace zyl::tool
