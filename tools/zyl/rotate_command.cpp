#include <CLI/CLI.hpp>
#include <algorithm>
#include <string>

#include "commands.h"
#include "diag/log_rotation.h"

namespace zyl::tool {
namespace {

bool IsKeep(const std::string& value) {
  const std::optional<std::size_t> keep = ParseNumber<std::size_t>(value);
  return keep.has_value() && *keep >= 1;
}

}  // namespace

void DefineRotate(CLI::App* app, Arguments* args) {
  app->add_option("-k,--keep", args->keep,
                  "the generations kept (default: the KEEP of ZYL_LOG_ROTATE, or 5)")
      ->type_name("N")
      ->check(Check("a count of 1 or more", IsKeep));
}

// The writers' own rotation, called now: a writer that appends meanwhile waits for it or finds
// the new log. Two rotations of one log remove nothing unannounced: this one keeps at least the
// writers' KEEP, and says when --keep asks for more, which their next rotation would remove.
Status RunRotate(const Arguments& args, Output& out) {
  const RotationSetting writers = RotationFromEnvironment();
  std::size_t keep = writers.policy ? writers.policy->keep : RotationPolicy{}.keep;
  if (!args.keep.empty()) {
    const std::size_t asked = *ParseNumber<std::size_t>(args.keep);
    if (writers.policy && writers.policy->keep < asked) {
      Complain(std::string(kRotateVariable) + " keeps " + std::to_string(keep) +
               " generations: the writers' next rotation removes all but the newest " +
               std::to_string(keep) + " of the " + args.keep +
               " --keep asks for; give both the same KEEP");
    }
    keep = writers.policy ? std::max(keep, asked) : asked;
  }
  const Rotation rotation = RotateNow(args.text, keep);
  if (!rotation.generation.empty() || rotation.elsewhere) {
    if (!rotation.generation.empty()) out.Line(rotation.generation);
    return kOk;
  }
  if (rotation.problem.empty()) return kNoResult;
  Complain("could not rotate " + args.text + ": " + rotation.problem);
  return kFailed;
}

}  // namespace zyl::tool
