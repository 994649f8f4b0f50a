#include "box_watch.h"

namespace zyl::testing {

std::vector<ShownBox> StandInBoxes(const std::string& err, std::string* rest) {
  std::vector<ShownBox> boxes;
  rest->clear();
  for (std::size_t pos = 0; pos < err.size();) {
    std::size_t end = err.find('\n', pos);
    end = end == std::string::npos ? err.size() : end + 1;
    const std::string line = err.substr(pos, end - pos);
    pos = end;
    const std::size_t close = line.find("] ");
    if (line[0] != '[' || close == std::string::npos || line.back() != '\n') {
      *rest += line;
      continue;
    }
    ShownBox box;
    box.caption = line.substr(1, close - 1);
    box.text = line.substr(close + 2, line.size() - close - 3);
    boxes.push_back(box);
  }
  return boxes;
}

}  // namespace zyl::testing
