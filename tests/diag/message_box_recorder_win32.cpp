#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "box_watch.h"
#include "iat_patch.h"
#include "message_box_recorder.h"

namespace zyl::testing {
namespace {

using Clock = std::chrono::steady_clock;
// How long a box the library asked for may take to appear.
constexpr auto kBoxWait = std::chrono::seconds(10);
// A recorder watches one or a few calls; past this the showing thread is stuck.
constexpr auto kRecordingLimit = std::chrono::seconds(30);

// What the intercepted MessageBoxA saw; one recorder lives at a time.
std::mutex calls_mutex;
std::vector<unsigned> call_styles;
std::atomic<bool> in_call{false};
using MessageBoxAFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
MessageBoxAFunction real_message_box = nullptr;

int WINAPI RecordingMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  {
    std::lock_guard<std::mutex> lock(calls_mutex);
    call_styles.push_back(style);
  }
  in_call = true;
  const int pressed = real_message_box(owner, text, caption, style);
  in_call = false;
  return pressed;
}

}  // namespace

struct BoxRecorder::State {
  const DWORD thread = GetCurrentThreadId();
  std::mutex mutex;  // guards what follows
  std::vector<ShownBox> boxes;
  std::string problem;

  std::atomic<bool> stop{false};
  std::unique_ptr<ScopedImportPatch> patch;
  std::thread watcher;

  void Note(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex);
    problem += what + "; ";
  }

  void Close(HWND box) {
    if (CloseBox(box)) return;
    Note("the box ignored OK");
    // A modal loop ends on WM_QUIT (and posts it again, for Finish to drain).
    PostThreadMessageA(thread, WM_QUIT, 0, 0);
    if (!CloseBox(box)) GiveUp("a box stayed open");
  }

  // The showing thread is stuck beyond rescue: end the run now rather than hang it.
  static void GiveUp(const char* why) {
    std::fprintf(stderr, "message box watcher: %s; ending the test run\n", why);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  }

  void Watch() {
    const auto deadline = Clock::now() + kRecordingLimit;
    auto waiting_since = Clock::now();
    bool rescued = false;
    while (!stop) {
      if (Clock::now() > deadline) GiveUp("the showing call never returned");
      const HWND box = FindBox(thread, "");
      if (box != nullptr) {
        ShownBox seen = ReadBox(box);
        {
          std::lock_guard<std::mutex> lock(mutex);
          boxes.push_back(std::move(seen));
        }
        Close(box);
        waiting_since = Clock::now();
      } else if (!in_call) {
        waiting_since = Clock::now();
      } else if (Clock::now() - waiting_since > kBoxWait) {
        if (rescued) GiveUp("a box was asked for but never appeared");
        rescued = true;
        Note("a box was asked for but never appeared");
        PostThreadMessageA(thread, WM_QUIT, 0, 0);
        waiting_since = Clock::now();
      }
      Sleep(2);
    }
  }
};

BoxRecorder::BoxRecorder() : state_(std::make_unique<State>()) {
  call_styles.clear();
  state_->patch = std::make_unique<ScopedImportPatch>(
      LibraryModule(), "user32.dll", "MessageBoxA", reinterpret_cast<void*>(&RecordingMessageBoxA));
  real_message_box = reinterpret_cast<MessageBoxAFunction>(state_->patch->original());
  if (!state_->patch->ok()) state_->Note("the library does not import MessageBoxA");
  state_->watcher = std::thread([state = state_.get()] { state->Watch(); });
}

BoxRecorder::~BoxRecorder() {
  if (state_->watcher.joinable()) Finish();
}

BoxRecording BoxRecorder::Finish() {
  state_->stop = true;
  state_->watcher.join();
  state_->patch.reset();
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }

  BoxRecording result;
  result.calls = static_cast<int>(call_styles.size());
  result.boxes = state_->boxes;
  result.problem = state_->problem;
  if (call_styles.size() == result.boxes.size()) {
    for (std::size_t i = 0; i < result.boxes.size(); ++i) result.boxes[i].style = call_styles[i];
  } else {
    result.problem += std::to_string(result.calls) + " calls showed " +
                      std::to_string(result.boxes.size()) + " boxes; ";
  }
  return result;
}

bool BoxesHonourTopmost() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr;
}

}  // namespace zyl::testing
