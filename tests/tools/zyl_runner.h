#ifndef ZYL_TESTS_TOOLS_ZYL_RUNNER_H_
#define ZYL_TESTS_TOOLS_ZYL_RUNNER_H_

// Runs the zyl binary built beside the tests, the way a script does.

#include <optional>
#include <string>
#include <vector>

#include "box_watch.h"

namespace zyl::testing {

struct ZylRun {
  std::optional<int> status;  // nullopt: it did not start, crashed or hung
  std::string out;
  std::string err;
  std::vector<ShownBox> boxes;  // RunZylShowingBoxes only
};

// Full path of the zyl binary.
std::string ZylPath();

// Runs zyl with `args`, feeding it `input` on standard input.
ZylRun RunZyl(const std::vector<std::string>& args, const std::string& input = "");

// RunZyl for the commands that show boxes. On Windows each box is read and closed with OK as it
// appears; elsewhere the stand-in's lines are taken out of `err`.
ZylRun RunZylShowingBoxes(const std::vector<std::string>& args, const std::string& input = "");

// `text` split at LF, with a CR before each LF dropped: a text file's lines on any platform.
std::vector<std::string> Lines(const std::string& text);

}  // namespace zyl::testing

#endif  // ZYL_TESTS_TOOLS_ZYL_RUNNER_H_
