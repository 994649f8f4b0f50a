#ifndef ZYL_TOOLS_BOX_WATCH_BOX_WATCH_H_
#define ZYL_TOOLS_BOX_WATCH_BOX_WATCH_H_

// What the tests and the demo host see of the library's message boxes: real windows on Windows,
// read and closed here; elsewhere the stand-in's lines on standard error.

#include <string>
#include <vector>

#include "zyl/zyl.h"  // HWND

namespace zyl::testing {

struct ShownBox {
  HWND owner = nullptr;
  std::string caption;
  std::string text;
  // Windows only (zero or empty elsewhere). The style the library asked for (known only where
  // its call was intercepted); what was on screen.
  unsigned style = 0;
  std::vector<std::string> buttons;
  bool topmost = false;
  bool foreground = false;
  bool owner_enabled = false;  // a modal box disables its owner
};

// Windows. The first visible message box among the top-level windows of `thread` (0: of every
// thread) captioned `caption` (empty: any caption), or null.
HWND FindBox(unsigned long thread, const std::string& caption);
// Reads `box` as a user would see it. Style is left 0.
ShownBox ReadBox(HWND box);
// Presses the box's OK button: posted, so it takes effect once the box's thread runs.
void PressOk(HWND box);
// PressOk, then waits for the box to go; false when it is still there after ten seconds.
bool CloseBox(HWND box);
// The title of `window`; empty when its thread does not answer within a second.
std::string WindowText(HWND window);

// POSIX. The boxes in `err`, where the stand-in writes one line per box: "[caption] text", or
// the text alone without a caption. An unterminated last line is left in `rest`.
std::vector<ShownBox> StandInBoxes(const std::string& err, std::string* rest);

}  // namespace zyl::testing

#endif  // ZYL_TOOLS_BOX_WATCH_BOX_WATCH_H_
