#include "box_watch.h"

namespace zyl::testing {

std::vector<ShownBox> StandInBoxes(const std::string& err, std::string* rest) {
  std::vector<ShownBox> boxes;
  rest->clear();
  for (std::size_t pos = 0; pos < err.size();) {
    const std::size_t end = err.find('\n', pos);
    if (end == std::string::npos) {  // every box ends its line
      *rest = err.substr(pos);
      break;
    }
    ShownBox box;
    box.text = err.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t close = box.text.find("] ");
    if (box.text[0] == '[' && close != std::string::npos) {
      box.caption = box.text.substr(1, close - 1);
      box.text.erase(0, close + 2);
    }
    boxes.push_back(box);
  }
  return boxes;
}

}  // namespace zyl::testing
