#ifndef ZYL_TOOLS_ZYL_COMMANDS_H_
#define ZYL_TOOLS_ZYL_COMMANDS_H_

// zyl's commands: the table with their help (commands.cpp), and each command's options and work
// (text_commands.cpp, log_command.cpp, show.cpp).

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "output.h"
#include "show.h"

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace zyl::tool {

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

// Runs zyl with the command line `argv`: results and help go to standard output, complaints to
// standard error, and an argument "-" reads standard input line by line. Returns the exit status.
int Run(int argc, char** argv);

// `text` as a number in `base`, all of it: no sign but a minus, no blanks, no prefix.
template <class Number>
std::optional<Number> ParseNumber(std::string_view text, int base = 10) {
  Number value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || stop != text.data() + text.size()) return {};
  return value;
}

// A check of an option's value for CLI11: `problem` gives what is wrong with it, or empty.
CLI::Validator Check(std::string (*problem)(const std::string& value));

// A command's options beyond its arguments, and its work: on the whole command line (Run*), or
// once for its text and the other, of 'error' (Each*), which commands.cpp repeats for each line of
// standard input that stands in for an argument "-".
void DefinePad(CLI::App* app, Arguments* args);
void DefineLog(CLI::App* app, Arguments* args);
void DefineError(CLI::App* app, Arguments* args);
void DefineTitle(CLI::App* app, Arguments* args);
Status RunDebug(const Arguments& args, Output& out);
Status RunTitle(const Arguments& args, Output& out);
Status EachPad(const Arguments& args, const std::string& text, const std::string& other,
               Output& out);
Status EachShortPath(const Arguments& args, const std::string& text, const std::string& other,
                     Output& out);
Status EachLog(const Arguments& args, const std::string& text, const std::string& other,
               Output& out);
Status EachMsg(const Arguments& args, const std::string& text, const std::string& other,
               Output& out);
Status EachError(const Arguments& args, const std::string& text, const std::string& other,
                 Output& out);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_COMMANDS_H_
