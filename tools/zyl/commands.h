#ifndef ZYL_TOOLS_ZYL_COMMANDS_H_
#define ZYL_TOOLS_ZYL_COMMANDS_H_

// zyl's commands: the table with their help (commands.cpp), and each command's options and work
// (text_commands.cpp, log_command.cpp, show_command.cpp, rotate_command.cpp, ship.cpp).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diag/log_rotation.h"
#include "output.h"
#include "text/number.h"

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
  // Of 'log' and 'show' ("-": standard input); the library's LogName unless given.
  std::string file;
  std::string handle = "0";
  // of 'show'
  std::vector<std::string> files;  // none: `file`
  std::string cursor_file;
  std::string since, until, last;
  std::vector<std::string> apps, greps;
  bool ignore_case = false, json = false, count = false, follow = false;
  std::string escape = "auto";  // of control bytes: auto (on a terminal), always, never
  std::string keep;             // of 'rotate'; empty: ZYL_LOG_ROTATE's KEEP, or 5
  std::string to, state, protocol = "relp";  // of 'ship'
};

// Runs zyl with the command line `argv`: results and help go to standard output, complaints to
// standard error, and an argument "-" reads standard input line by line. Returns the exit status.
int Run(int argc, char** argv);

// A check of an option's value for CLI11: "'VALUE' is not `what`" unless `valid` accepts it.
CLI::Validator Check(const char* what, bool (*valid)(const std::string& value));

// A command's options beyond its arguments (Define*), and its work (Run*), which commands.cpp
// repeats for each line of standard input that stands in for an argument "-".
void DefinePad(CLI::App* app, Arguments* args);
void DefineLog(CLI::App* app, Arguments* args);
void DefineError(CLI::App* app, Arguments* args);
void DefineTitle(CLI::App* app, Arguments* args);
void DefineShow(CLI::App* app, Arguments* args);
void DefineRotate(CLI::App* app, Arguments* args);
void DefineShip(CLI::App* app, Arguments* args);
Status RunPad(const Arguments& args, Output& out);
Status RunShortPath(const Arguments& args, Output& out);
Status RunDebug(const Arguments& args, Output& out);
Status RunLog(const Arguments& args, Output& out);
Status RunMsg(const Arguments& args, Output& out);
Status RunError(const Arguments& args, Output& out);
Status RunTitle(const Arguments& args, Output& out);
Status RunShow(const Arguments& args, Output& out);
Status RunRotate(const Arguments& args, Output& out);
Status RunShip(const Arguments& args, Output& out);

// Empty when the file `place` names, the log `log` or a generation it was renamed to since,
// holds `record` just before the place's end; otherwise why not. 'log' reads its record back so.
std::string ConfirmAppended(const std::string& log, const RecordPlace& place,
                            std::string_view record);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_COMMANDS_H_
