#include "commands.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <vector>

#include "filter.h"
#include "system.h"
#include "zyl/zyl.h"

namespace zyl::tool {
namespace {

using EachText = Status (*)(const Arguments& args, const std::string& text,
                            const std::string& other, Output& out);

struct Command {
  const char* name;
  const char* summary;    // one line, for the command list
  const char* details;    // the rest of its help; may be empty
  const char* arguments;  // the names of its one or two required ones, each of which may be "-"
  void (*define)(CLI::App* app, Arguments* args);     // its options; may be null
  Status (*run)(const Arguments& args, Output& out);  // null: `each` runs
  EachText each;
};

template <auto function>
Status EachPrint(const Arguments& /*args*/, const std::string& text, const std::string& /*other*/,
                 Output& out) {
  out.Line(function(ZYLString(text)));
  return kOk;
}

void DefineShowOptions(CLI::App* app, Arguments* args) { DefineShow(app, &args->show); }
Status RunShowCommand(const Arguments& args, Output& out) { return RunShow(args.show, out); }

const Command kCommands[] = {
    {"trim", "print TEXT without its leading and trailing blanks and control bytes",
     "Blanks and control bytes are those isspace or iscntrl accept: 0x00-0x20 and 0x7F.", "TEXT",
     nullptr, nullptr, EachPrint<ZYLTrim>},
    {"trim-left", "print TEXT without its leading blanks and control bytes", "", "TEXT", nullptr,
     nullptr, EachPrint<ZYLTrimLeft>},
    {"trim-right", "print TEXT without its trailing blanks and control bytes", "", "TEXT", nullptr,
     nullptr, EachPrint<ZYLTrimRight>},
    {"pad", "print TEXT widened to N bytes with a fill byte",
     "A width at or below TEXT's length, zero and negative ones included, leaves it as it is.\n"
     "Exit status 3 when the result does not fit in memory.",
     "TEXT", DefinePad, nullptr, EachPad},
    {"file-name", "print what follows the last '\\' or ':' of PATH",
     "Without a '\\' or ':' the result is empty ('/' is not a separator).", "PATH", nullptr,
     nullptr, EachPrint<ExtractFileName>},
    {"file-path", "print PATH up to and including its last '\\' or ':'",
     "Without a '\\' or ':' the result is empty ('/' is not a separator).", "PATH", nullptr,
     nullptr, EachPrint<ExtractFilePath>},
    {"short-path", "print the short (8.3) form of an existing PATH",
     "An empty line and exit status 1 when PATH does not exist or the system has no short form\n"
     "for it.",
     "PATH", nullptr, nullptr, EachShortPath},
    {"debug", "print on or off: whether the environment variable DEBUG is ON",
     "Any letter case counts. Exit status 0 when on, 1 when off.", "", nullptr, RunDebug, nullptr},
    {"log", "append a time-stamped record to the debug log",
     "Prints nothing. Exit status 0 once the record has been read back from the file, whole;\n"
     "3, naming the file and the reason, when it is not there (the library itself drops it\n"
     "silently) or cannot be read back: a log that is not a regular file.",
     "MESSAGE", DefineLog, nullptr, EachLog},
    {"msg", "show TEXT in a message box and wait until it is closed",
     "The box is owned by, and captioned with the title of, the active top-level window;\n"
     "without one, the caption is this program's file name.",
     "TEXT", nullptr, nullptr, EachMsg},
    {"error", "show DETAIL when debug mode is on, USER-TEXT otherwise",
     "Exactly one message box, as 'msg' shows it. Either argument may be '-'.", "USER-TEXT DETAIL",
     DefineError, nullptr, EachError},
    {"title", "print a window's title, or without one this program's name",
     "An empty line and exit status 1 when WINDOW-HANDLE names no window.", "", DefineTitle,
     RunTitle, nullptr},
    {"show", "print the records of the debug log, filtered, as JSON or counted",
     "A record is a line \"APP: \" PROGRAM \": \" TIME and the message's lines up to the next\n"
     "such line. Lines before the first record, and a record cut short, are kept and marked: a\n"
     "note on standard error, or in JSON \"record\": false and \"torn\": true.\n"
     "TIME is local, as in the records: 'Wed Mar 15 09:05:07 2006', ISO 8601 ('2026-12-07',\n"
     "'2026-12-07T10:00', '2026-12-07T10:00:05') or relative to now ('-90s', '-30m', '-2h',\n"
     "'-7d', up to about 100 years). --app ignores letter case; --grep does with -i.\n"
     "--json gives offset (in bytes), time (ISO 8601 with the UTC offset of that time; null\n"
     "when the writer did not know it), exe and message (line ends as LF). A field that is not\n"
     "UTF-8 has U+FFFD for each byte that is not, and the file's exact bytes in hex beside it:\n"
     "exe_hex, message_hex.\n"
     "On a terminal, control bytes of messages and paths come as text ('\\x1b'; tab and line\n"
     "ends kept), as on standard error; --escape always or never decides for standard output.\n"
     "--follow starts with the last 10 records (unless --last or --since say otherwise), reads\n"
     "on as the file grows, and from its start when it is deleted or started anew; with\n"
     "--until it ends once that time has passed.\n"
     "Exit status: 0 something shown; 1 nothing matched; 2 bad usage; 3 the file could not be\n"
     "read.",
     "", DefineShowOptions, RunShowCommand, nullptr},
};

constexpr char kFooter[] =
    "An argument given as '-' is read from standard input instead: the command runs once per\n"
    "line (ending in LF or CR LF) and prints one result per line, each ending in LF.\n"
    "\n"
    "Exit status: 0 done; 1 no result ('short-path' of a path without a short form, 'title' of\n"
    "a handle that names no window, 'debug' off; with '-', for any line); 2 bad usage; 3 the\n"
    "result could not be made or written (out of memory, a log record not appended, output not\n"
    "written).\n"
    "\n"
    "Run 'zyl COMMAND --help' or 'zyl help COMMAND' for the options of one command.";

// A leftover argument CLI11 did not take, as a complaint; empty when there is none.
std::string LeftoverProblem(const CLI::App& app, const CLI::App* command) {
  for (const std::string& arg : app.remaining(true)) {
    if (arg == "--") continue;  // CLI11 keeps the end of options among the leftovers
    if (arg.size() > 1 && arg[0] == '-') {
      if (command == nullptr) return "unknown option '" + arg + "'";
      return "unknown option '" + arg + "' for '" + command->get_name() +
             "' (put -- before an argument that starts with '-')";
    }
    return (command != nullptr ? "unexpected argument '" : "unknown command '") + arg + "'";
  }
  return {};
}

// "--name=" with nothing after it, which CLI11 would fill from the next argument.
std::string EmptyValueProblem(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") break;
    if (arg.size() > 3 && arg.compare(0, 2, "--") == 0 && arg.back() == '=') {
      return arg.substr(0, arg.size() - 1) + ": an empty value";
    }
  }
  return {};
}

Status UsageError(const CLI::App* command, const std::string& problem) {
  Complain(problem);
  std::string hint = "Run 'zyl --help' for the list of commands.\n";
  if (command != nullptr) {
    const std::string name = "zyl " + command->get_name();
    hint = CLI::Formatter().make_usage(command, name) + "Run '" + name + " --help' for more.\n";
  }
  std::fputs(hint.c_str(), stderr);
  return kUsage;
}

const CLI::App* ChosenCommand(const CLI::App& app) {
  const std::vector<CLI::App*> chosen = app.get_subcommands();
  return chosen.empty() ? nullptr : chosen.front();
}

Status Finish(Output& out, Status status) {
  if (out.Flush()) return status;
  Complain(std::string("could not write the output: ") + std::strerror(errno));
  return kFailed;
}

// The command's arguments and options, read into `args`.
void Define(const Command& command, CLI::App* app, Arguments* args) {
  std::string* into = &args->text;
  for (const std::string& name : CLI::detail::split(command.arguments, ' ')) {
    if (name.empty()) continue;
    app->add_option(name, *into, "or - for each line of standard input")->required()->type_name("");
    into = &args->detail;
  }
  if (command.define != nullptr) command.define(app, args);
}

Status RunCommand(const Command& command, const Arguments& args, Output& out) {
  if (command.run != nullptr) return command.run(args, out);
  return RunOnTexts(
      args.text, args.detail,
      [&](const std::string& text, const std::string& other) {
        return command.each(args, text, other, out);
      },
      out);
}

}  // namespace

CLI::Validator Check(std::string (*problem)(const std::string& value)) {
  // No description: CLI11 would add it to the value's name in the help.
  return CLI::Validator([problem](std::string& value) { return problem(value); }, "");
}

int Run(int argc, char** argv) {
  Output out(stdout);
  Arguments args;
  args.file = LogName != nullptr ? LogName : "";
  args.show.file = args.file;
  CLI::App app("Calls the ZIZUDUZ library from scripts, one command per export, and reads its log.",
               "zyl");
  app.set_version_flag("-V,--version", "zyl " ZYL_VERSION);
  app.get_formatter()->label("SUBCOMMAND", "COMMAND");
  app.get_formatter()->label("Positionals", "Arguments");
  app.require_subcommand(0, 1);
  app.allow_extras();
  app.footer(std::string(kFooter) + (SystemNote()[0] != '\0' ? "\n\n" : "") + SystemNote());
  std::vector<std::pair<const CLI::App*, const Command*>> commands;
  for (const Command& command : kCommands) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary);
    sub->group("Commands")->footer(command.details)->allow_extras();
    Define(command, sub, &args);
    commands.emplace_back(sub, &command);
  }
  std::string topic;
  CLI::App* help = app.add_subcommand("help", "print the help of zyl, or of COMMAND");
  help->group("Commands")->add_option("COMMAND", topic, "the command to describe");

  if (const std::string problem = EmptyValueProblem(argc, argv); !problem.empty()) {
    return UsageError(nullptr, problem);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out.Write(app.help());
    return Finish(out, kOk);
  } catch (const CLI::CallForVersion& version) {
    out.Line(version.what());
    return Finish(out, kOk);
  } catch (const CLI::ParseError& error) {
    const CLI::App* command = ChosenCommand(app);
    const std::string leftover = LeftoverProblem(app, command);
    return UsageError(command, leftover.empty() ? error.what() : leftover);
  }
  const CLI::App* chosen = ChosenCommand(app);
  const std::string leftover = LeftoverProblem(app, chosen);
  if (!leftover.empty()) return UsageError(chosen, leftover);
  if (chosen == nullptr) return UsageError(nullptr, "missing command");
  for (const auto& [sub, command] : commands) {
    if (sub == chosen) return Finish(out, RunCommand(*command, args, out));
  }
  // 'help', with or without a command to describe.
  const CLI::App* described = &app;
  for (const auto& [sub, command] : commands) {
    if (topic == command->name) described = sub;
  }
  if (!topic.empty() && described == &app) {
    return UsageError(help, "unknown command '" + topic + "'");
  }
  const std::string name = topic.empty() ? "zyl" : "zyl " + topic;
  out.Write(described->get_formatter()->make_help(described, name, CLI::AppFormatMode::Normal));
  return Finish(out, kOk);
}

}  // namespace zyl::tool
