#include <gtest/gtest.h>

#include "message_box_recorder.h"

namespace zyl::testing {

struct BoxRecorder::State {
  bool capturing = true;
};

BoxRecorder::BoxRecorder() : state_(std::make_unique<State>()) {
  ::testing::internal::CaptureStderr();
}

BoxRecorder::~BoxRecorder() {
  if (state_->capturing) Finish();
}

BoxRecording BoxRecorder::Finish() {
  state_->capturing = false;
  const std::string out = ::testing::internal::GetCapturedStderr();
  // The stand-in writes one line per box: "[caption] text", or without a caption the text alone.
  BoxRecording result;
  for (std::size_t pos = 0; pos < out.size();) {
    const std::size_t end = out.find('\n', pos);
    if (end == std::string::npos) {
      result.problem += "unterminated line: " + out.substr(pos) + "; ";
      break;
    }
    const std::string line = out.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t close = line.find("] ");
    ShownBox box;
    box.text = line;
    if (!line.empty() && line[0] == '[' && close != std::string::npos) {
      box.caption = line.substr(1, close - 1);
      box.text = line.substr(close + 2);
    }
    result.boxes.push_back(box);
  }
  result.calls = static_cast<int>(result.boxes.size());
  return result;
}

bool BoxesHonourTopmost() { return false; }

}  // namespace zyl::testing
