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
  BoxRecording result;
  std::string rest;
  result.boxes = StandInBoxes(::testing::internal::GetCapturedStderr(), &rest);
  if (!rest.empty()) result.problem = "not boxes: " + rest;
  result.calls = static_cast<int>(result.boxes.size());
  return result;
}

bool BoxesHonourTopmost() { return false; }

}  // namespace zyl::testing
