#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "iat_patch.h"
#include "message_box_recorder.h"

namespace zyl::testing {
namespace {

using Clock = std::chrono::steady_clock;
// Generous for a loaded machine, yet no test can hang on a box nobody closes.
constexpr auto kBoxWait = std::chrono::seconds(10);
// A recorder watches one or a few calls; past this the showing thread is stuck.
constexpr auto kRecordingLimit = std::chrono::seconds(30);

// GetWindowTextA would wait for good on a box whose thread is stuck.
std::string TextOf(HWND window) {
  char buf[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                      SMTO_ABORTIFHUNG, 1000, &copied);
  return buf;
}

std::string ClassOf(HWND window) {
  char buf[64] = {};
  GetClassNameA(window, buf, sizeof buf);
  return buf;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  if (ClassOf(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The visible dialog among `thread`'s top-level windows, or null.
HWND FindBox(DWORD thread) {
  HWND box = nullptr;
  EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&box));
  return box;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM into) {
  auto& box = *reinterpret_cast<ShownBox*>(into);
  const std::string kind = ClassOf(control);
  if (kind == "Button" && IsWindowVisible(control)) box.buttons.push_back(TextOf(control));
  // The text's static, not the icon's.
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (kind == "Static" && (style & SS_TYPEMASK) != SS_ICON) box.text = TextOf(control);
  return TRUE;
}

ShownBox Inspect(HWND dialog) {
  ShownBox box;
  box.owner = GetWindow(dialog, GW_OWNER);
  box.caption = TextOf(dialog);
  box.topmost = (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  box.foreground = GetForegroundWindow() == dialog;
  box.owner_enabled = box.owner != nullptr && IsWindowEnabled(box.owner);
  EnumChildWindows(dialog, ReadControl, reinterpret_cast<LPARAM>(&box));
  return box;
}

bool WaitGone(HWND window) {
  for (const auto until = Clock::now() + kBoxWait; Clock::now() < until; Sleep(2)) {
    if (!IsWindow(window)) return true;
  }
  return false;
}

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
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    if (WaitGone(box)) return;
    Note("the box ignored OK");
    // A modal loop ends on WM_QUIT (and posts it again, for Finish to drain).
    PostThreadMessageA(thread, WM_QUIT, 0, 0);
    if (!WaitGone(box)) GiveUp("a box stayed open");
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
      const HWND box = FindBox(thread);
      if (box != nullptr) {
        ShownBox seen = Inspect(box);
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
