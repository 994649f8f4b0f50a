#include <CLI/CLI.hpp>

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
  app->add_option("-k,--keep", args->keep, "the generations kept (default: " + args->keep + ")")
      ->type_name("N")
      ->check(Check("a count of 1 or more", IsKeep));
}

// The writers' own rotation, called now: a writer that appends meanwhile waits for it or finds
// the new log.
Status RunRotate(const Arguments& args, Output& out) {
  const Rotation rotation = RotateNow(args.text, *ParseNumber<std::size_t>(args.keep));
  if (!rotation.generation.empty() || rotation.elsewhere) {
    if (!rotation.generation.empty()) out.Line(rotation.generation);
    return kOk;
  }
  if (rotation.problem.empty()) return kNoResult;
  Complain("could not rotate " + args.text + ": " + rotation.problem);
  return kFailed;
}

}  // namespace zyl::tool
