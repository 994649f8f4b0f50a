// The options of 'zyl show'.

#include <CLI/CLI.hpp>
#include <ctime>
#include <string>

#include "commands.h"
#include "time_words.h"

namespace zyl::tool {

void DefineShow(CLI::App* app, Arguments* args) {
  app->add_option("FILE", args->files,
                  "the log, read with its generations, or - for standard input (default: " +
                      args->file + ")")
      ->type_name("");
  static const std::string kNotTime = std::string("a time; zyl reads ") + kTimeForms;
  const CLI::Validator time = Check(kNotTime.c_str(), [](const std::string& value) {
    return !!WhenInstant(value, std::time(nullptr));
  });
  app->add_option("--since", args->since, "records at TIME or later")
      ->type_name("TIME")
      ->check(time);
  app->add_option("--until", args->until, "records at TIME or earlier")
      ->type_name("TIME")
      ->check(time);
  // One value each time, as often as given.
  const auto each = CLI::MultiOptionPolicy::TakeAll;
  app->add_option("--app", args->apps, "records of programs whose path contains TEXT, or any TEXT")
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(each);
  app->add_option("--grep", args->greps, "records whose message contains TEXT, or any TEXT")
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(each);
  app->add_flag("-i,--ignore-case", args->ignore_case, "--grep in any letter case");
  app->add_option("-n,--last", args->last, "only the last N that match")
      ->type_name("N")
      ->check(Check("a count",
                    [](const std::string& value) { return !!ParseNumber<std::uint32_t>(value); }));
  CLI::Option* json =
      app->add_flag("--json", args->json, "one JSON object per line (not with --count)");
  CLI::Option* count = app->add_flag("--count", args->count,
                                     "the records of each program (not with --json or --follow)");
  CLI::Option* follow = app->add_flag("-f,--follow", args->follow,
                                      "go on with records as they are appended, as tail -f does");
  count->excludes(json)->excludes(follow);
  app->add_option("--cursor-file", args->cursor_file,
                  "start after the place kept in FILE, and keep there how far records went out")
      ->type_name("FILE");
  app->add_option("--escape", args->escape,
                  "control bytes as visible escapes: auto (on a terminal), always or never")
      ->type_name("WHEN")
      ->check(CLI::IsMember({"auto", "always", "never"}));
}

}  // namespace zyl::tool
