#include <windows.h>

#include <atomic>
#include <thread>

#include "box_watch.h"
#include "zyl/zyl.h"
#include "zyl_runner.h"

namespace zyl::testing {

ZylRun RunZylShowingBoxes(const std::vector<std::string>& args, const std::string& input) {
  // zyl's boxes are captioned with its file name and owned by no window.
  const std::string caption = ExtractFileName(ZylPath());
  std::vector<ShownBox> boxes;
  std::atomic<bool> done{false};
  std::thread closer([&] {
    while (!done) {
      const HWND box = FindBox(0, caption);
      if (box == nullptr) {
        Sleep(5);
        continue;
      }
      boxes.push_back(ReadBox(box));
      CloseBox(box);
    }
  });
  ZylRun run = RunZyl(args, input);
  done = true;
  closer.join();
  run.boxes = boxes;
  return run;
}

}  // namespace zyl::testing
