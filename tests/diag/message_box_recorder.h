#ifndef ZYL_TESTS_DIAG_MESSAGE_BOX_RECORDER_H_
#define ZYL_TESTS_DIAG_MESSAGE_BOX_RECORDER_H_

// Sees every message box the constructing thread shows while a recorder lives, so the message
// tests read the same everywhere. Under Windows the library's MessageBoxA calls are intercepted
// and passed on, and a watcher thread finds each real box, reads it and presses OK; elsewhere the
// stand-in's lines on standard error are read back.

#include <memory>
#include <string>
#include <vector>

#include "box_watch.h"

namespace zyl::testing {

struct BoxRecording {
  int calls = 0;  // boxes the library asked for
  std::vector<ShownBox> boxes;
  std::string problem;  // what went wrong watching, if anything
};

class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  // Stops recording; call once, after the showing calls returned.
  BoxRecording Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// True on a real Windows desktop, which honours every box style; Wine ignores MB_TOPMOST.
bool BoxesHonourTopmost();

}  // namespace zyl::testing

#endif  // ZYL_TESTS_DIAG_MESSAGE_BOX_RECORDER_H_
