#include "commands.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "stdin_lines.h"
#include "system.h"
#include "zyl/zyl.h"

namespace zyl::tool {
namespace {

struct Command {
  const char* name;
  const char* summary;    // one line, for the command list
  const char* details;    // the rest of its help; may be empty
  const char* arguments;  // the names of its one or two required ones, each of which may be "-"
  void (*define)(CLI::App* app, Arguments* args);  // its options; may be null
  Status (*run)(const Arguments& args, Output& out);
};

template <auto function>
Status Print(const Arguments& args, Output& out) {
  out.Line(function(ZYLString(args.text)));
  return kOk;
}

const Command kCommands[] = {
    {"trim", "print TEXT without its leading and trailing blanks and control bytes",
     "Blanks and control bytes are those isspace or iscntrl accept: 0x00-0x20 and 0x7F.", "TEXT",
     nullptr, Print<ZYLTrim>},
    {"trim-left", "print TEXT without its leading blanks and control bytes", "", "TEXT", nullptr,
     Print<ZYLTrimLeft>},
    {"trim-right", "print TEXT without its trailing blanks and control bytes", "", "TEXT", nullptr,
     Print<ZYLTrimRight>},
    {"pad", "print TEXT widened to N bytes with a fill byte",
     "A width at or below TEXT's length, zero and negative ones included, leaves it as it is.\n"
     "Exit status 3 when the result does not fit in memory.",
     "TEXT", DefinePad, RunPad},
    {"file-name", "print what follows the last '\\' or ':' of PATH",
     "Without a '\\' or ':' the result is empty ('/' is not a separator).", "PATH", nullptr,
     Print<ExtractFileName>},
    {"file-path", "print PATH up to and including its last '\\' or ':'",
     "Without a '\\' or ':' the result is empty ('/' is not a separator).", "PATH", nullptr,
     Print<ExtractFilePath>},
    {"short-path", "print the short (8.3) form of an existing PATH",
     "An empty line and exit status 1 when PATH does not exist or has no short form.", "PATH",
     nullptr, RunShortPath},
    {"debug", "print on or off: whether the environment variable DEBUG is ON",
     "Any letter case counts. Exit status 0 when on, 1 when off.", "", nullptr, RunDebug},
    {"log", "append a time-stamped record to the debug log",
     "Prints nothing. Exit status 0 once the record's bytes have been read back from where its\n"
     "own append put them, in the log or the generation a rotation has moved it to since; 3,\n"
     "naming the file and the reason, when the append failed (the library itself drops such a\n"
     "record silently: a missing folder, no permission, a full disk) or the record cannot be\n"
     "read back: a device or a pipe.",
     "MESSAGE", DefineLog, RunLog},
    {"msg", "show TEXT in a message box and wait until it is closed",
     "The box is owned by, and captioned with the title of, the active top-level window;\n"
     "without one, the caption is this program's file name.",
     "TEXT", nullptr, RunMsg},
    {"error", "show DETAIL when debug mode is on, USER-TEXT otherwise",
     "Exactly one message box, as 'msg' shows it. Either argument may be '-'.", "USER-TEXT DETAIL",
     DefineError, RunError},
    {"title", "print a window's title, or without one this program's name",
     "An empty line and exit status 1 when WINDOW-HANDLE names no window.", "", DefineTitle,
     RunTitle},
    {"show", "print the records of the debug log, filtered, as JSON or counted",
     "FILE is read with its generations, the files rotation renamed it to (app.1.log, ...),\n"
     "oldest first; several FILEs are read one after the other, as one stream.\n"
     "A record is a line \"APP: \" PROGRAM \": \" TIME and the message's lines up to the next\n"
     "such line. Lines before the first record, and a record cut short, are kept and marked: a\n"
     "note on standard error, or in JSON \"record\": false and \"torn\": true. Piped without\n"
     "filters, the output is the file byte for byte. A record over 1 MiB comes in pieces.\n"
     "TIME is local, as in the records: 'Wed Mar 15 09:05:07 2006', ISO 8601 ('2026-12-07',\n"
     "'2026-12-07T10:00', '2026-12-07T10:00:05'), 'today', 'yesterday', 'now', '21:00' or\n"
     "'21:00:05' (today), or relative to now, up to about 100 years: '-90s', '-30m', '-2h',\n"
     "'-7d', '-2w', or '2 hours ago' (s, min, h, d, w, or second, minute, hour, day, week,\n"
     "plural or not). Times compare as instants. In the hour the clock goes back, a time is its\n"
     "first reading; a record's is its second once a record before it was.\n"
     "--app and --grep may be given more than once: a record matches when any\n"
     "of them does. --app ignores letter case; --grep does with -i.\n"
     "--json gives offset (bytes), time (ISO 8601 with that time's UTC offset; null when the\n"
     "writer did not know it), exe and message (a Windows record's CR LF as LF), file (the\n"
     "file the offset counts in, unless it is the one FILE named), for a record in pieces\n"
     "piece (1, 2, ...) and more: true but in the last; a field that is not UTF-8 has U+FFFD\n"
     "per stray byte and the file's exact bytes in hex beside it: exe_hex, message_hex.\n"
     "On a terminal, control bytes of messages and paths come as text ('\\x1b';\n"
     "tab and line ends kept; in JSON DEL and C1 as \\u escapes), as on standard error;\n"
     "--escape always or never decides for standard output.\n"
     "--follow: the last 10 records (unless --last, --since or a cursor say otherwise), then on\n"
     "as the files grow, each record once across rotations, from the start of a log deleted or\n"
     "started anew, waiting for a log that does not exist yet; with --until, until then.\n"
     "Only regular files are generations: a link, pipe, device or folder at such a name is\n"
     "skipped, said once on standard error.\n"
     "--cursor-file FILE: start after the place FILE keeps (when it holds one), and keep there,\n"
     "replaced whole, how far the records have gone out; with or without --follow.\n"
     "Exit status: 0 something shown; 1 nothing matched; 2 bad usage; 3 the file unreadable.",
     "", DefineShow, RunShow},
    {"rotate", "rename the log FILE to its next generation, as the writers do at its size",
     "FILE.LOG becomes FILE.N.LOG (FILE becomes FILE.N), N one above the highest there; the\n"
     "lowest generations beyond --keep are removed, and the next record starts FILE anew.\n"
     "ZYL_LOG_ROTATE=SIZE[,KEEP] (SIZE in bytes, or with K, M or G) has every writer do it;\n"
     "with it set, at least its KEEP are kept, and a --keep above it is warned of: the\n"
     "writers' next rotation would remove the generations beyond their KEEP.\n"
     "Prints the generation's name. Exit status: 0 rotated (by zyl, or by a writer just\n"
     "before); 1 nothing to rotate (no file, or an empty one); 2 bad usage; 3 the rename\n"
     "failed (the log stays as it is), as when no number is left or the name grows too long.",
     "FILE", DefineRotate, RunRotate},
    {"ship", "send each record of the log FILE to a syslog collector, acknowledged",
     "FILE is read with its generations as 'show --follow' reads it, from its first record or\n"
     "from the cursor kept in DIR; a FILE not there yet is waited for. Each record goes as one\n"
     "RFC 5424 message (user.info, app name zyl, the record's time, this host's name; the\n"
     "structured data [zyl@32473 file=\"VOLUME:INDEX\" offset=\"N\"] names where it starts, so\n"
     "a receiver can drop one it already has), its text exactly, without its last line end.\n"
     "Over RELP (imrelp) the cursor moves only past records the collector acknowledged: after\n"
     "a failure the rest is sent again, never lost. --protocol tcp: octet-counted syslog over\n"
     "TCP, for a collector without RELP; what is in flight when it stops is lost.\n"
     "A collector away is tried again, the pause growing to 30 s, never given up. SIGTERM or\n"
     "Ctrl-C stops after the acknowledgements in flight, exit status 0. See docs/shipping.md.\n"
     "Exit status: 0 stopped; 2 bad usage; 3 FILE or DIR unreadable or the cursor unwritable.",
     "", DefineShip, RunShip},
};

constexpr char kFooter[] =
    "An argument given as '-' is read from standard input instead: the command runs once per\n"
    "line (ending in LF or CR LF) and prints one result per line, each ending in LF.\n"
    "\n"
    "Exit status: 0 done; 1 no result ('short-path' without a short form, 'title' of no window,\n"
    "'debug' off; with '-', for any line); 2 bad usage; 3 the result could not be made or\n"
    "written (out of memory, a log record not appended, output not written).\n"
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

// CLI11's help, without the options an option excludes beside its name: its description says so.
class Formatter : public CLI::Formatter {
 public:
  std::string make_option_opts(const CLI::Option* option) const override {
    const std::string opts = CLI::Formatter::make_option_opts(option);
    return opts.substr(0, opts.find(" " + get_label("Excludes") + ":"));
  }
};

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

// Runs `command` once, or, for an argument "-", once for each line of standard input in its place.
Status RunCommand(const Command& command, const Arguments& args, Output& out) {
  Arguments each = args;
  std::string* line = args.text == "-" ? &each.text : args.detail == "-" ? &each.detail : nullptr;
  if (line == nullptr || command.arguments[0] == '\0') return command.run(args, out);
  return ForEachLine(0, out, [&](std::string_view text) {
    line->assign(text);
    return command.run(each, out);
  });
}

}  // namespace

CLI::Validator Check(const char* what, bool (*valid)(const std::string& value)) {
  // No description: CLI11 would add it to the value's name in the help.
  return CLI::Validator(
      [what, valid](std::string& value) {
        return valid(value) ? std::string() : "'" + value + "' is not " + what;
      },
      "");
}

int Run(int argc, char** argv) {
  Output out(stdout);
  Arguments args;
  args.file = LogName != nullptr ? LogName : "";
  CLI::App app("Calls the ZIZUDUZ library from scripts, one command per export, and reads its log.",
               "zyl");
  app.set_version_flag("-V,--version", "zyl " ZYL_VERSION);
  app.formatter(std::make_shared<Formatter>());  // before the commands, which copy it
  app.get_formatter()->label("SUBCOMMAND", "COMMAND");
  app.get_formatter()->label("Positionals", "Arguments");
  app.require_subcommand(0, 1);
  app.allow_extras();
  app.footer(std::string(kFooter) + (SystemNote()[0] != '\0' ? "\n\n" : "") + SystemNote());
  for (const Command& command : kCommands) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary);
    sub->group("Commands")->footer(command.details)->allow_extras();
    Define(command, sub, &args);
  }
  std::string topic;
  CLI::App* help = app.add_subcommand("help", "print the help of zyl, or of COMMAND");
  help->group("Commands")->footer("")->add_option("COMMAND", topic, "the command to describe");

  std::string problem = EmptyValueProblem(argc, argv);
  try {
    if (problem.empty()) app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out.Write(app.help());
    return Finish(out, kOk);
  } catch (const CLI::CallForVersion& version) {
    out.Line(version.what());
    return Finish(out, kOk);
  } catch (const CLI::ParseError& error) {
    problem = error.what();
  }
  const std::vector<CLI::App*> commands = app.get_subcommands();
  const CLI::App* chosen = commands.empty() ? nullptr : commands.front();
  if (const std::string leftover = LeftoverProblem(app, chosen); !leftover.empty()) {
    problem = leftover;  // more to the point than what CLI11 says of what follows it
  }
  if (problem.empty() && chosen == nullptr) problem = "missing command";
  if (!problem.empty()) return UsageError(chosen, problem);
  for (const Command& command : kCommands) {
    if (chosen->get_name() == command.name) return Finish(out, RunCommand(command, args, out));
  }
  // 'help', with or without a command to describe.
  const auto named = std::as_const(app).get_subcommands(
      [&](const CLI::App* sub) { return sub->get_name() == topic; });
  if (!topic.empty() && named.empty()) return UsageError(help, "unknown command '" + topic + "'");
  const CLI::App* described = topic.empty() ? &app : named.front();
  const std::string name = topic.empty() ? "zyl" : "zyl " + topic;
  out.Write(described->get_formatter()->make_help(described, name, CLI::AppFormatMode::Normal));
  return Finish(out, kOk);
}

}  // namespace zyl::tool
