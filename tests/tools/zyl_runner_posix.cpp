#include "box_watch.h"
#include "zyl_runner.h"

namespace zyl::testing {

ZylRun RunZylShowingBoxes(const std::vector<std::string>& args, const std::string& input) {
  ZylRun run = RunZyl(args, input);
  const std::string err = run.err;
  run.boxes = StandInBoxes(err, &run.err);
  return run;
}

}  // namespace zyl::testing
