#ifndef ZYL_TOOLS_ZYL_COMMANDS_H_
#define ZYL_TOOLS_ZYL_COMMANDS_H_

// zyl's commands: the table with their help (commands.cpp), and each command's options and work
// (text_commands.cpp, log_command.cpp, show.cpp).

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

// A check of an option's value for CLI11: `problem` gives what is wrong with it, or empty.
CLI::Validator Check(std::string (*problem)(const std::string& value));
// A required argument, which may be "-".
void AddArgument(CLI::App* app, const char* name, std::string* into);

void DefineText(CLI::App* app, Arguments* args);
void DefinePath(CLI::App* app, Arguments* args);
void DefineNothing(CLI::App* app, Arguments* args);
void DefinePad(CLI::App* app, Arguments* args);
void DefineLog(CLI::App* app, Arguments* args);
void DefineError(CLI::App* app, Arguments* args);
void DefineTitle(CLI::App* app, Arguments* args);

Status RunPad(const Arguments& args, Output& out);
Status RunShortPath(const Arguments& args, Output& out);
Status RunDebug(const Arguments& args, Output& out);
Status RunLog(const Arguments& args, Output& out);
Status RunMsg(const Arguments& args, Output& out);
Status RunError(const Arguments& args, Output& out);
Status RunTitle(const Arguments& args, Output& out);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_COMMANDS_H_
