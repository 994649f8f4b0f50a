#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "message_box_recorder.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace {

using zyl::testing::BoxRecorder;
using zyl::testing::BoxRecording;

struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

constexpr char kWindowClass[] = "ZylMessageTestWindow";
constexpr unsigned kOkTopmostForeground = MB_OK | MB_TOPMOST | MB_SETFOREGROUND;

// Makes `window` the calling thread's active window; false when that did not take.
bool Activate(HWND window) {
  SetActiveWindow(window);
  return GetActiveWindow() == window;
}

UniqueWindow MakeWindow(const std::string& title, HWND owner = nullptr,
                        DWORD style = WS_OVERLAPPEDWINDOW) {
  static const ATOM registered = [] {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = kWindowClass;
    return RegisterClassA(&window_class);
  }();
  if (registered == 0) return nullptr;
  HWND window = CreateWindowExA(0, kWindowClass, title.c_str(), style, 0, 0, 320, 200, owner,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr) ShowWindow(window, SW_SHOW);
  return UniqueWindow(window);
}

// "0123456789012..." cut to `length`: a cut in the wrong place changes the last bytes.
std::string Digits(std::size_t length) {
  std::string text;
  while (text.size() < length) text += "0123456789";
  return text.substr(0, length);
}

TEST(GetWindowTitle, ReadsTheTitleCutTo1023Bytes) {
  const struct {
    std::string title, want;
  } cases[] = {
      {"Main", "Main"},
      {"", ""},
      {" padded\ttitle ", " padded\ttitle "},
      {Digits(1023), Digits(1023)},
      {Digits(1024), Digits(1023)},
      {Digits(2000), Digits(1023)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title.size());
    const UniqueWindow window = MakeWindow(c.title);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowTitle(window.get()), c.want);
  }
}

TEST(GetWindowTitle, IsEmptyForAHandleThatNamesNoWindow) {
  HWND gone = MakeWindow("Soon gone").get();  // destroyed at the end of the statement
  ASSERT_NE(gone, nullptr);
  for (const HWND window : {gone, reinterpret_cast<HWND>(1), reinterpret_cast<HWND>(0xFFFF),
                            reinterpret_cast<HWND>(0x10010), reinterpret_cast<HWND>(-1)}) {
    SCOPED_TRACE(reinterpret_cast<std::uintptr_t>(window));
    EXPECT_EQ(GetWindowTitle(window), "");
  }
}

TEST(GetWindowTitle, NullGivesTheExecutablesFileName) {
  EXPECT_EQ(GetWindowTitle(nullptr), "message_test.exe");
}

// Shows `text` from a thread of its own while this one keeps its windows answering: a box owned
// by one of them would wait on this thread for good.
BoxRecording ShowOnAnotherThread(const std::string& text) {
  BoxRecording got;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    BoxRecorder recorder;
    ShowZYLMsg(text);
    got = recorder.Finish();
    done = true;
  });
  while (!done) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  worker.join();
  return got;
}

TEST(ShowZYLMsg, IsOwnedByAndCaptionedWithTheRootOfTheActiveWindowsChain) {
  constexpr DWORD kPopup = WS_POPUP | WS_CAPTION;
  const struct {
    const char* name;
    std::string root_title;
    std::vector<DWORD> owned;  // styles of windows each owned by the one before; the last active
    std::size_t owner;         // the box's owner, counted from the root
    std::string caption;
  } cases[] = {
      {"the root itself active", "Main window", {}, 0, "Main window"},
      {"a pop-up owned by the root", "Main window", {kPopup}, 0, "Main window"},
      {"a pop-up owned by a pop-up", "Main window", {kPopup, kPopup}, 0, "Main window"},
      {"an empty title: an empty caption, no default", "", {kPopup}, 0, ""},
      {"a long title", Digits(2000), {kPopup}, 0, Digits(1023)},
      // GetParent does not report the owner of a window that is not a pop-up: the climb stops.
      {"an owned overlapped window", "Main window", {WS_OVERLAPPEDWINDOW}, 1, "Owned"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<UniqueWindow> chain;  // root first
    chain.push_back(MakeWindow(c.root_title));
    for (DWORD style : c.owned) chain.push_back(MakeWindow("Owned", chain.back().get(), style));
    for (const auto& window : chain) ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Activate(chain.back().get()));

    BoxRecorder recorder;
    ShowZYLMsg("Saved.");
    const BoxRecording got = recorder.Finish();
    EXPECT_EQ(got.problem, "");
    EXPECT_EQ(got.calls, 1);
    ASSERT_EQ(got.boxes.size(), 1u);
    const zyl::testing::ShownBox& box = got.boxes[0];
    EXPECT_EQ(box.owner, chain[c.owner].get());
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.text, "Saved.");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(box.style, kOkTopmostForeground);
    EXPECT_FALSE(box.owner_enabled) << "not modal to its owner";
    EXPECT_TRUE(box.foreground);
    // Wine ignores MB_TOPMOST; the style asked for is checked above.
    if (zyl::testing::BoxesHonourTopmost()) {
      EXPECT_TRUE(box.topmost);
    }
  }
}

TEST(ShowZYLMsg, IgnoresTheActiveWindowOfAnotherThread) {
  const UniqueWindow main_window = MakeWindow("Main window");
  ASSERT_NE(main_window, nullptr);
  ASSERT_TRUE(Activate(main_window.get()));

  const BoxRecording got = ShowOnAnotherThread("from a worker");
  EXPECT_EQ(got.problem, "");
  ASSERT_EQ(got.boxes.size(), 1u);
  EXPECT_EQ(got.boxes[0].owner, nullptr);
  EXPECT_EQ(got.boxes[0].caption, "message_test.exe");
  EXPECT_EQ(got.boxes[0].style, kOkTopmostForeground);
  EXPECT_EQ(got.boxes[0].buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(got.boxes[0].foreground);
}

}  // namespace
