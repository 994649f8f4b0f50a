#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "zyl/zyl.h"
#include "zyl_runner.h"

// zyl's boxes are real: a watcher thread reads each one and presses OK, so the run returns.

namespace zyl::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct SeenBox {
  HWND owner = nullptr;
  std::string text;
};

std::string TextOf(HWND window) {
  char buf[4096] = {};
  GetWindowTextA(window, buf, sizeof buf);
  return buf;
}

BOOL CALLBACK ReadStaticText(HWND control, LPARAM into) {
  char kind[64] = {};
  GetClassNameA(control, kind, sizeof kind);
  if (std::string(kind) != "Static" ||
      (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    return TRUE;
  }
  *reinterpret_cast<std::string*>(into) = TextOf(control);
  return FALSE;
}

// Closes every box captioned `caption`, in any process, while it lives.
class BoxCloser {
 public:
  explicit BoxCloser(std::string caption)
      : caption_(std::move(caption)), thread_([this] { Watch(); }) {}
  ~BoxCloser() { Finish(); }

  std::vector<SeenBox> Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  void Watch() {
    while (!stop_) {
      const HWND box = FindWindowA("#32770", caption_.c_str());
      if (box == nullptr || !IsWindowVisible(box)) {
        Sleep(5);
        continue;
      }
      SeenBox seen;
      seen.owner = GetWindow(box, GW_OWNER);
      EnumChildWindows(box, ReadStaticText, reinterpret_cast<LPARAM>(&seen.text));
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      // One box is read once: wait until it is gone.
      for (const auto until = Clock::now() + std::chrono::seconds(10);
           IsWindow(box) && Clock::now() < until;) {
        Sleep(2);
      }
    }
  }

  const std::string caption_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;  // guards seen_
  std::vector<SeenBox> seen_;
  std::thread thread_;
};

std::vector<std::string> Texts(const std::vector<SeenBox>& boxes) {
  std::vector<std::string> texts;
  for (const SeenBox& box : boxes) texts.push_back(box.text);
  return texts;
}

const std::string& Caption() {
  static const std::string caption = ExtractFileName(ZylPath());
  return caption;
}

TEST(ZylMsg, ShowsAnOwnerlessBoxCaptionedWithTheProgramsName) {
  BoxCloser closer(Caption());
  const ZylRun run = RunZyl({"msg", "Saved 3 files."});
  const std::vector<SeenBox> boxes = closer.Finish();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Saved 3 files.");
  EXPECT_EQ(boxes[0].owner, nullptr);
}

TEST(ZylMsg, ShowsOneBoxPerInputLineInOrder) {
  BoxCloser closer(Caption());
  const ZylRun run = RunZyl({"msg", "-"}, "first\r\nsecond\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Texts(closer.Finish()), (std::vector<std::string>{"first", "second"}));
}

TEST(ZylError, ShowsTheDetailOnlyInDebugMode) {
  const struct {
    const char* debug;
    std::string want;
  } cases[] = {{nullptr, "Could not save."}, {"off", "Could not save."}, {"On", "disk full"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.debug != nullptr ? c.debug : "(unset)");
    const ScopedEnv debug("DEBUG", c.debug);
    BoxCloser closer(Caption());
    const ZylRun run = RunZyl({"error", "Could not save.", "disk full"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Texts(closer.Finish()), std::vector<std::string>{c.want});
  }
}

TEST(ZylPad, ReportsAResultThatDoesNotFitInA32BitProcess) {
  if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit process may well hold it";
  // Above 2^30 bytes no 32-bit string can hold it; the library answers with the empty string.
  const ZylRun run = RunZyl({"pad", "-w", "2147483647", "x"});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Lines(run.err),
            std::vector<std::string>{"zyl: a result of 2147483647 bytes does not fit in memory"});
}

TEST(ZylTitle, ReadsTheTitleOfAnotherProcesssWindow) {
  const HWND window = CreateWindowExA(0, "STATIC", "Quarterly report", WS_OVERLAPPEDWINDOW, 0, 0,
                                      200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const auto handle = static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window));
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%llX", handle);
  for (const std::string& arg : {std::string(hex), std::to_string(handle)}) {
    SCOPED_TRACE(arg);
    const ZylRun run = RunZyl({"title", arg});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Quarterly report\n");
  }
  DestroyWindow(window);
}

}  // namespace
}  // namespace zyl::testing
