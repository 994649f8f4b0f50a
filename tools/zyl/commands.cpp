#include "commands.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>

#include "command_line.h"
#include "zyl/zyl.h"

namespace zyl::tool {
namespace {

constexpr char kStdinArgument[] = "-";

// One command's work: `step` runs on `texts` once, or, when one of them is "-", once per line of
// standard input with the line in its place. It prints its own results and returns the status.
struct Job {
  std::vector<std::string> texts;
  std::function<int(const std::vector<std::string>& texts, std::ostream& out)> step;
  // Why this build cannot produce the result of valid arguments; empty when it can.
  std::string impossible;
};

// Checks the options and arguments and fills `job`; returns what is wrong, or empty.
using Builder = std::string (*)(const ParsedCommand& parsed, Job* job);

void PrintLine(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.put('\n');
}

// One function of a text to a text, printed: the shape of most commands.
template <typename Function>
std::string BuildTextJob(const ParsedCommand& parsed, Job* job, Function function) {
  job->texts = parsed.arguments;
  job->step = [function](const std::vector<std::string>& texts, std::ostream& out) {
    PrintLine(out, function(texts[0]));
    return kExitOk;
  };
  return {};
}

std::string BuildTrim(const ParsedCommand& parsed, Job* job) {
  return BuildTextJob(parsed, job, [](const std::string& text) { return ZYLTrim(text); });
}

std::string BuildTrimLeft(const ParsedCommand& parsed, Job* job) {
  return BuildTextJob(parsed, job, [](const std::string& text) { return ZYLTrimLeft(text); });
}

std::string BuildTrimRight(const ParsedCommand& parsed, Job* job) {
  return BuildTextJob(parsed, job, [](const std::string& text) { return ZYLTrimRight(text); });
}

std::string BuildFileName(const ParsedCommand& parsed, Job* job) {
  return BuildTextJob(parsed, job,
                      [](const std::string& path) { return ExtractFileName(ZYLString(path)); });
}

std::string BuildFilePath(const ParsedCommand& parsed, Job* job) {
  return BuildTextJob(parsed, job,
                      [](const std::string& path) { return ExtractFilePath(ZYLString(path)); });
}

std::string BuildShortPath(const ParsedCommand& parsed, Job* job) {
  return BuildTextJob(
      parsed, job, [](const std::string& path) { return ExtractShortPathName(ZYLString(path)); });
}

// Plain decimal with an optional minus sign, nothing around it: no octal, hex or blanks.
std::optional<std::int32_t> ParseWidth(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string BuildPad(const ParsedCommand& parsed, Job* job) {
  std::optional<std::int32_t> width;
  char fill = ' ';
  bool pad_left = false;
  for (const auto& [name, value] : parsed.options) {
    if (name == "width") {
      width = ParseWidth(value);
      if (!width) return "width '" + value + "' is not a 32-bit integer";
    } else if (name == "fill") {
      if (value.size() != 1) return "fill '" + value + "' is not one byte";
      fill = value[0];
    } else {
      pad_left = name == "left";
    }
  }
  if (!width) return "missing --width";
  // The library answers such a width with an empty string; say why instead of printing nothing.
  const std::size_t max_size = std::string().max_size();
  if (*width > 0 && static_cast<std::uint64_t>(*width) > max_size) {
    job->impossible = "width " + std::to_string(*width) + " is more than a string holds here (" +
                      std::to_string(max_size) + ")";
  }
  return BuildTextJob(parsed, job, [fill, width = *width, pad_left](const std::string& text) {
    return PadString(ZYLString(text), fill, width, pad_left);
  });
}

std::string BuildDebug(const ParsedCommand& /*parsed*/, Job* job) {
  job->step = [](const std::vector<std::string>& /*texts*/, std::ostream& out) {
    const bool on = Debug();
    PrintLine(out, on ? "on" : "off");
    return on ? kExitOk : kExitDebugOff;
  };
  return {};
}

std::string BuildLog(const ParsedCommand& parsed, Job* job) {
  std::optional<std::string> file;
  for (const auto& option : parsed.options) file = option.second;
  job->texts = parsed.arguments;
  job->step = [file](const std::vector<std::string>& texts, std::ostream& /*out*/) {
    // The library reads LogName at every call; `file` lives as long as this step.
    if (file) LogName = file->c_str();
    SendDebugMsg(texts[0]);
    return kExitOk;
  };
  return {};
}

std::string BuildMsg(const ParsedCommand& parsed, Job* job) {
  job->texts = parsed.arguments;
  job->step = [](const std::vector<std::string>& texts, std::ostream& /*out*/) {
    ShowZYLMsg(texts[0]);
    return kExitOk;
  };
  return {};
}

std::string BuildError(const ParsedCommand& parsed, Job* job) {
  job->texts = parsed.arguments;
  job->step = [](const std::vector<std::string>& texts, std::ostream& /*out*/) {
    ShowZYLError(texts[0], texts[1]);
    return kExitOk;
  };
  return {};
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

std::string BuildTitle(const ParsedCommand& parsed, Job* job) {
  HWND window = nullptr;
  if (!parsed.arguments.empty()) {
    const std::optional<std::uintptr_t> handle = ParseHandle(parsed.arguments[0]);
    if (!handle)
      return "window handle '" + parsed.arguments[0] + "' is not a number (0x... or decimal)";
    window = reinterpret_cast<HWND>(*handle);
  }
  job->step = [window](const std::vector<std::string>& /*texts*/, std::ostream& out) {
    PrintLine(out, GetWindowTitle(window));
    return kExitOk;
  };
  return {};
}

struct Command {
  CommandSyntax syntax;
  Builder build;
};

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {{"trim",
        "TEXT",
        "print TEXT without its leading and trailing blanks and control bytes",
        "Blanks and control bytes are those isspace or iscntrl accept: 0x00-0x20 and 0x7F.\n",
        {},
        {"TEXT"},
        1},
       BuildTrim},
      {{"trim-left",
        "TEXT",
        "print TEXT without its leading blanks and control bytes",
        "",
        {},
        {"TEXT"},
        1},
       BuildTrimLeft},
      {{"trim-right",
        "TEXT",
        "print TEXT without its trailing blanks and control bytes",
        "",
        {},
        {"TEXT"},
        1},
       BuildTrimRight},
      {{"pad",
        "--width=N [OPTIONS] TEXT",
        "print TEXT widened to N bytes with a fill byte",
        "A width at or below TEXT's length, zero and negative ones included, leaves it as it is.\n",
        {{'w', "width", "N", "the width in bytes, a 32-bit decimal integer (required)"},
         {'f', "fill", "C", "the fill, one byte (default: a blank)"},
         {'l', "left", nullptr, "pad on the left, right-aligning TEXT"},
         {'r', "right", nullptr, "pad on the right, left-aligning TEXT (the default)"}},
        {"TEXT"},
        1},
       BuildPad},
      {{"file-name",
        "PATH",
        "print what follows the last '\\' or ':' of PATH",
        "Without a '\\' or ':' the result is empty ('/' is not a separator).\n",
        {},
        {"PATH"},
        1},
       BuildFileName},
      {{"file-path",
        "PATH",
        "print PATH up to and including its last '\\' or ':'",
        "Without a '\\' or ':' the result is empty ('/' is not a separator).\n",
        {},
        {"PATH"},
        1},
       BuildFilePath},
      {{"short-path",
        "PATH",
        "print the short (8.3) form of an existing PATH",
        "An empty line when PATH does not exist or the system has no short form for it.\n",
        {},
        {"PATH"},
        1},
       BuildShortPath},
      {{"debug",
        "",
        "print on or off: whether the environment variable DEBUG is ON",
        "Any letter case counts. Exit status 0 when on, 1 when off.\n",
        {},
        {},
        0},
       BuildDebug},
      {{"log",
        "[--file=FILE] MESSAGE",
        "append a time-stamped record to the debug log",
        "Prints nothing; a log that cannot be opened is skipped silently.\n",
        {{'f', "file", "FILE", "the log file (default: C:\\ZYL.LOG)"}},
        {"MESSAGE"},
        1},
       BuildLog},
      {{"msg",
        "TEXT",
        "show TEXT in a message box and wait until it is closed",
        "The box is owned by, and captioned with the title of, the active top-level window;\n"
        "without one, the caption is this program's file name.\n",
        {},
        {"TEXT"},
        1},
       BuildMsg},
      {{"error",
        "USER-TEXT DETAIL",
        "show DETAIL when debug mode is on, USER-TEXT otherwise",
        "Exactly one message box, as 'msg' shows it. Either argument may be '-'.\n",
        {},
        {"USER-TEXT", "DETAIL"},
        2},
       BuildError},
      {{"title",
        "[WINDOW-HANDLE]",
        "print a window's title, or without one this program's name",
        "WINDOW-HANDLE is hex with 0x or decimal; 0 stands for no window.\n",
        {},
        {"WINDOW-HANDLE"},
        0},
       BuildTitle},
  };
  return commands;
}

const std::vector<CommandSyntax>& Syntaxes() {
  static const std::vector<CommandSyntax> syntaxes = [] {
    std::vector<CommandSyntax> list;
    for (const Command& command : Commands()) list.push_back(command.syntax);
    return list;
  }();
  return syntaxes;
}

// Runs `job` once, or once per input line for its "-" argument.
int Execute(const Job& job, std::istream& in, std::ostream& out) {
  const auto dash = std::find(job.texts.begin(), job.texts.end(), kStdinArgument);
  if (dash == job.texts.end()) return job.step(job.texts, out);
  std::vector<std::string> texts = job.texts;
  const auto index = static_cast<std::size_t>(dash - job.texts.begin());
  int status = kExitOk;
  std::string line;
  while (out && std::getline(in, line)) {
    // CRLF ends a line too, so a Windows file reads the same everywhere.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    texts[index] = line;
    status = job.step(texts, out);
  }
  return status;
}

int UsageError(const ParsedCommand& parsed, const std::string& error, std::ostream& err) {
  err << "zyl: " << error << "\n";
  if (parsed.command != nullptr) {
    err << "Usage: zyl " << parsed.command->name;
    if (parsed.command->usage[0] != '\0') err << " " << parsed.command->usage;
    err << "\n";
    err << "Run 'zyl " << parsed.command->name << " --help' for more.\n";
  } else {
    err << "Run 'zyl --help' for the list of commands.\n";
  }
  return kExitUsage;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  const ParsedCommand parsed = ParseCommandLine(args, Syntaxes());
  switch (parsed.outcome) {
    case ParsedCommand::Outcome::kHelp:
      out << HelpText(parsed.command, Syntaxes());
      return kExitOk;
    case ParsedCommand::Outcome::kVersion:
      out << "zyl " ZYL_VERSION "\n";
      return kExitOk;
    case ParsedCommand::Outcome::kUsageError:
      return UsageError(parsed, parsed.error, err);
    case ParsedCommand::Outcome::kRun:
      break;
  }
  const Command& command = Commands()[static_cast<std::size_t>(parsed.command - Syntaxes().data())];
  Job job;
  const std::string error = command.build(parsed, &job);
  if (!error.empty()) return UsageError(parsed, error, err);
  if (std::count(job.texts.begin(), job.texts.end(), kStdinArgument) > 1) {
    return UsageError(parsed, "only one argument can be '-'", err);
  }
  if (!job.impossible.empty()) {
    err << "zyl: " << job.impossible << "\n";
    return kExitFailed;
  }
  return Execute(job, in, out);
}

}  // namespace zyl::tool
