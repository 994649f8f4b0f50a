#include "commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "check.h"
#include "line_batches.h"
#include "log_confirm.h"
#include "output.h"
#include "show.h"
#include "system.h"
#include "zyl/zyl.h"

namespace zyl::tool {
namespace {

constexpr char kStdinArgument[] = "-";
constexpr int kStdin = 0;

// What the command line gave; each command reads the fields it defined.
struct Arguments {
  std::string text;    // the first argument
  std::string detail;  // the second, of 'error'
  std::string width;
  std::string fill = " ";
  bool pad_left = false;
  std::string file;  // of 'log'; the library's LogName unless given
  std::string handle = "0";
  ShowOptions show;
};

struct Command {
  const char* name;
  const char* summary;  // one line, for the command list
  const char* details;  // the rest of its help; may be empty
  void (*define)(CLI::App* app, Arguments* args);
  Status (*run)(const Arguments& args, Output& out);
};

// Hands standard input's lines to `on_batch(lines, done)` a batch at a time until it returns
// false; `done` counts the lines dealt with, for the complaint when memory runs out. kFailed when
// the input cannot be read or a line does not fit in memory, kOk otherwise.
template <class OnBatch>
Status ForEachLineBatch(Output& out, const OnBatch& on_batch) {
  std::uint64_t done = 0;
  try {
    LineBatches input(kStdin, out);
    for (const StringBatch<std::string>* lines; (lines = &input.Next())->size() != 0;) {
      if (!on_batch(*lines, done)) return kOk;
    }
    if (input.problem().empty()) return kOk;
    Complain("could not read standard input: " + input.problem());
  } catch (const std::bad_alloc&) {
    Complain("out of memory at line " + std::to_string(done + 1) + " of standard input");
  }
  return kFailed;
}

// Runs `step(text, other)`, a command's work on its one or two texts, which writes the result
// and returns the status: once, or, when one of the texts is "-", once for each line of
// standard input in its place. The highest status wins; a failure stops the run, as later lines
// would no longer line up with their results.
template <class Step>
Status RunOnTexts(const std::string& text, const std::string& other, const Step& step,
                  Output& out) {
  const bool text_is_dash = text == kStdinArgument;
  if (!text_is_dash && other != kStdinArgument) return step(text, other);
  Status worst = kOk;
  const Status input = ForEachLineBatch(out, [&](const auto& lines, std::uint64_t& done) {
    for (std::size_t i = 0; i < lines.size(); ++i, ++done) {
      worst = std::max(worst, text_is_dash ? step(lines[i], other) : step(text, lines[i]));
      if (worst == kFailed || !out.ok()) return false;
    }
    return true;
  });
  return std::max(worst, input);
}

// Prints `function` of the text, once or for each input line. Each batch of lines makes a batch
// of results before any is written (see StringBatch).
template <class Function>
Status PrintEach(const std::string& text, Output& out, Function function) {
  if (text != kStdinArgument) {
    out.Line(function(text));
    return kOk;
  }
  StringBatch<decltype(function(text))> results;
  return ForEachLineBatch(out, [&](const auto& lines, std::uint64_t& done) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      results.Add([&] { return function(lines[i]); });
    }
    for (std::size_t i = 0; i < results.size(); ++i) out.Line(results[i]);
    done += results.size();
    results.Clear();
    return out.ok();  // a failed output is reported at the last flush
  });
}

void AddArgument(CLI::App* app, const char* name, std::string* into) {
  app->add_option(name, *into, "or - for each line of standard input")->required()->type_name("");
}

void DefineText(CLI::App* app, Arguments* args) { AddArgument(app, "TEXT", &args->text); }
void DefinePath(CLI::App* app, Arguments* args) { AddArgument(app, "PATH", &args->text); }
void DefineNothing(CLI::App* /*app*/, Arguments* /*args*/) {}

// Plain decimal with an optional minus sign, nothing around it: no octal, hex or blanks.
std::optional<std::int32_t> ParseWidth(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

void DefinePad(CLI::App* app, Arguments* args) {
  app->add_option("-w,--width", args->width, "the width in bytes, a 32-bit decimal integer")
      ->required()
      ->type_name("N")
      ->check(Check([](const std::string& value) -> std::string {
        return ParseWidth(value) ? "" : "'" + value + "' is not a 32-bit integer";
      }));
  app->add_option("-f,--fill", args->fill, "the fill, one byte (default: a blank)")
      ->type_name("C")
      ->check(Check([](const std::string& value) -> std::string {
        return value.size() == 1 ? "" : "'" + value + "' is not one byte";
      }));
  // Descriptions as const strings: C++20 finds a string literal ambiguous among CLI11's add_flag.
  const std::string left_help = "pad on the left, right-aligning TEXT";
  const std::string right_help = "pad on the right (the default)";
  const CLI::Option* left = app->add_flag("-l,--left", left_help)->disable_flag_override();
  const CLI::Option* right = app->add_flag("-r,--right", right_help)->disable_flag_override();
  app->callback([app, args, left, right] {
    for (const CLI::Option* side : app->parse_order()) {  // the last side given wins
      if (side == left || side == right) args->pad_left = side == left;
    }
  });
  DefineText(app, args);
}

Status RunPad(const Arguments& args, Output& out) {
  const std::int32_t width = *ParseWidth(args.width);
  const char fill = args.fill[0];
  const bool pad_left = args.pad_left;
  return RunOnTexts(
      args.text, {},
      [&](const std::string& text, const std::string& /*none*/) {
        const ZYLString result = PadString(ZYLString(text), fill, width, pad_left);
        // The library answers a width it cannot allocate with the empty string.
        if (width > 0 && result.size() < static_cast<std::size_t>(width)) {
          Complain("a result of " + std::to_string(width) + " bytes does not fit in memory");
          return kFailed;
        }
        out.Line(result);
        return kOk;
      },
      out);
}

Status RunShortPath(const Arguments& args, Output& out) {
  return RunOnTexts(
      args.text, {},
      [&](const std::string& text, const std::string& /*none*/) {
        const ZYLString path = ExtractShortPathName(ZYLString(text));
        out.Line(path);
        return path.empty() ? kNoResult : kOk;
      },
      out);
}

Status RunDebug(const Arguments& /*args*/, Output& out) {
  const bool on = Debug();
  out.Line(on ? "on" : "off");
  return on ? kOk : kNoResult;
}

// The library drops a record it cannot append without a word: zyl reads its record back. A file
// that is not a regular one (a device, a pipe) cannot be read back.
Status AppendRecord(const std::string& file, const std::string& message) {
  const FileStatus before = StatFile(file);
  // LogName points at `file` for this call alone: the library keeps no copy of it, and
  // SendDebugMsg throws nothing.
  const char* const previous = LogName;
  LogName = file.c_str();
  SendDebugMsg(message);
  LogName = previous;
  const FileStatus after = StatFile(file);
  // From where the file ended before, unless it was started anew meanwhile.
  const std::string problem =
      after.regular ? ConfirmAppended(file, after.size < before.size ? 0 : before.size, message)
                    : "not a regular file: the record cannot be confirmed";
  if (problem.empty()) return kOk;
  const std::string opening = AppendProblem(file);
  Complain("could not append a record to " + file + ": " + (opening.empty() ? problem : opening));
  return kFailed;
}

void DefineLog(CLI::App* app, Arguments* args) {
  app->add_option("-f,--file", args->file, "the log file (default: " + args->file + ")")
      ->type_name("FILE");
  AddArgument(app, "MESSAGE", &args->text);
}

Status RunLog(const Arguments& args, Output& out) {
  return RunOnTexts(
      args.text, {},
      [&](const std::string& message, const std::string& /*none*/) {
        return AppendRecord(args.file, message);
      },
      out);
}

Status RunMsg(const Arguments& args, Output& out) {
  return RunOnTexts(
      args.text, {},
      [](const std::string& text, const std::string& /*none*/) {
        ShowZYLMsg(text);
        return kOk;
      },
      out);
}

void DefineError(CLI::App* app, Arguments* args) {
  AddArgument(app, "USER-TEXT", &args->text);
  AddArgument(app, "DETAIL", &args->detail);
  app->callback([args] {
    if (args->text == kStdinArgument && args->detail == kStdinArgument) {
      throw CLI::ValidationError("only one argument can be '-'");
    }
  });
}

Status RunError(const Arguments& args, Output& out) {
  return RunOnTexts(
      args.text, args.detail,
      [](const std::string& user_text, const std::string& detail) {
        ShowZYLError(user_text, detail);
        return kOk;
      },
      out);
}

// Hex with 0x or 0X, or decimal; no sign. Must fit a pointer of this build.
std::optional<std::uintptr_t> ParseHandle(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* begin = text.data() + (hex ? 2 : 0);
  const char* end = text.data() + text.size();
  std::uintptr_t value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value, hex ? 16 : 10);
  if (begin == end || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

void DefineTitle(CLI::App* app, Arguments* args) {
  app->add_option("WINDOW-HANDLE", args->handle, "hex with 0x, or decimal; 0 (the default): none")
      ->check(Check([](const std::string& value) -> std::string {
        return ParseHandle(value) ? "" : "'" + value + "' is not a number (0x... or decimal)";
      }));
}

Status RunTitle(const Arguments& args, Output& out) {
  const HWND window = reinterpret_cast<HWND>(*ParseHandle(args.handle));
  // Not asked of the library: for a handle that names nothing, Wine answers with stray bytes.
  if (window != nullptr && !IsWindowHandle(window)) {
    out.Line("");
    return kNoResult;
  }
  out.Line(GetWindowTitle(window));
  return kOk;
}

const Command kCommands[] = {
    {"trim", "print TEXT without its leading and trailing blanks and control bytes",
     "Blanks and control bytes are those isspace or iscntrl accept: 0x00-0x20 and 0x7F.",
     DefineText,
     [](const Arguments& args, Output& out) {
       return PrintEach(args.text, out, [](const std::string& text) { return ZYLTrim(text); });
     }},
    {"trim-left", "print TEXT without its leading blanks and control bytes", "", DefineText,
     [](const Arguments& args, Output& out) {
       return PrintEach(args.text, out, [](const std::string& text) { return ZYLTrimLeft(text); });
     }},
    {"trim-right", "print TEXT without its trailing blanks and control bytes", "", DefineText,
     [](const Arguments& args, Output& out) {
       return PrintEach(args.text, out, [](const std::string& text) { return ZYLTrimRight(text); });
     }},
    {"pad", "print TEXT widened to N bytes with a fill byte",
     "A width at or below TEXT's length, zero and negative ones included, leaves it as it is.\n"
     "Exit status 3 when the result does not fit in memory.",
     DefinePad, RunPad},
    {"file-name", "print what follows the last '\\' or ':' of PATH",
     "Without a '\\' or ':' the result is empty ('/' is not a separator).", DefinePath,
     [](const Arguments& args, Output& out) {
       return PrintEach(args.text, out,
                        [](const std::string& path) { return ExtractFileName(ZYLString(path)); });
     }},
    {"file-path", "print PATH up to and including its last '\\' or ':'",
     "Without a '\\' or ':' the result is empty ('/' is not a separator).", DefinePath,
     [](const Arguments& args, Output& out) {
       return PrintEach(args.text, out,
                        [](const std::string& path) { return ExtractFilePath(ZYLString(path)); });
     }},
    {"short-path", "print the short (8.3) form of an existing PATH",
     "An empty line and exit status 1 when PATH does not exist or the system has no short form\n"
     "for it.",
     DefinePath, RunShortPath},
    {"debug", "print on or off: whether the environment variable DEBUG is ON",
     "Any letter case counts. Exit status 0 when on, 1 when off.", DefineNothing, RunDebug},
    {"log", "append a time-stamped record to the debug log",
     "Prints nothing. Exit status 0 once the record has been read back from the file, whole;\n"
     "3, naming the file and the reason, when it is not there (the library itself drops it\n"
     "silently) or cannot be read back: a log that is not a regular file.",
     DefineLog, RunLog},
    {"msg", "show TEXT in a message box and wait until it is closed",
     "The box is owned by, and captioned with the title of, the active top-level window;\n"
     "without one, the caption is this program's file name.",
     DefineText, RunMsg},
    {"error", "show DETAIL when debug mode is on, USER-TEXT otherwise",
     "Exactly one message box, as 'msg' shows it. Either argument may be '-'.", DefineError,
     RunError},
    {"title", "print a window's title, or without one this program's name",
     "An empty line and exit status 1 when WINDOW-HANDLE names no window.", DefineTitle, RunTitle},
    {"show", "print the records of the debug log, filtered, as JSON or counted",
     "A record is a line \"APP: \" PROGRAM \": \" TIME and the message's lines up to the next "
     "such\n"
     "line. Lines before the first record, and a record cut short, are kept and marked: a note\n"
     "on standard error, or in JSON \"record\": false and \"torn\": true.\n"
     "TIME is local, as in the records: 'Wed Mar 15 09:05:07 2006', ISO 8601 ('2026-12-07',\n"
     "'2026-12-07T10:00', '2026-12-07T10:00:05') or relative to now ('-90s', '-30m', '-2h',\n"
     "'-7d'). --app ignores letter case; --grep does not.\n"
     "--json gives offset (in bytes), time (ISO 8601; null when the writer did not know it), exe\n"
     "and message (line ends as LF). A field that is not UTF-8 has U+FFFD for each byte that is\n"
     "not, and its exact bytes in hex beside it: exe_hex, message_hex.\n"
     "--follow reads on as the file grows, and from its start when it is deleted or started\n"
     "anew; with --until it ends once that time has passed.\n"
     "Exit status: 0 something shown; 1 nothing matched; 2 bad usage; 3 the file could not be\n"
     "read.",
     [](CLI::App* app, Arguments* args) { DefineShow(app, &args->show); },
     [](const Arguments& args, Output& out) { return RunShow(args.show, out); }},
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

std::string HelpOf(const CLI::App& app, const std::string& name) {
  return app.get_formatter()->make_help(&app, name, CLI::AppFormatMode::Normal);
}

Status Finish(Output& out, Status status) {
  if (out.Flush()) return status;
  Complain(std::string("could not write the output: ") + std::strerror(errno));
  return kFailed;
}

}  // namespace

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
    command.define(sub, &args);
    commands.emplace_back(sub, &command);
  }
  std::string topic;
  CLI::App* help = app.add_subcommand("help", "print the help of zyl, or of COMMAND");
  help->group("Commands")->add_option("COMMAND", topic, "the command to describe");

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
    if (sub == chosen) return Finish(out, command->run(args, out));
  }
  // 'help', with or without a command to describe.
  const CLI::App* described = &app;
  for (const auto& [sub, command] : commands) {
    if (topic == command->name) described = sub;
  }
  if (!topic.empty() && described == &app) {
    return UsageError(help, "unknown command '" + topic + "'");
  }
  out.Write(HelpOf(*described, topic.empty() ? "zyl" : "zyl " + topic));
  return Finish(out, kOk);
}

}  // namespace zyl::tool
