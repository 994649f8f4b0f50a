// The demo's stand-in for an application that calls the library, plus a helper that closes the
// boxes other processes show, so the demo runs unattended:
//   zyl_demo_host show TITLE SECONDS TEXT   main window TITLE with an owned pop-up in front; the
//                                           pop-up's thread calls ShowZYLMsg(TEXT); the box is
//                                           described on standard output and closed after SECONDS
//   zyl_demo_host close-box CAPTION SECONDS waits up to SECONDS for a box captioned CAPTION in any
//                                           process, describes it and presses OK
// Exit status 0 when a box was seen and closed, 1 when none came, 2 on bad usage.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "box_watch.h"
#include "zyl/zyl.h"

namespace {

using Clock = std::chrono::steady_clock;
using zyl::testing::CloseBox;
using zyl::testing::FindBox;
using zyl::testing::PressOk;
using zyl::testing::ReadBox;
using zyl::testing::ShownBox;
using zyl::testing::WindowText;

// Handles as zyl's title command reads them.
std::string HandleText(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

void Describe(const ShownBox& box) {
  std::string owner = "none";
  if (box.owner != nullptr) owner = HandleText(box.owner) + " \"" + WindowText(box.owner) + "\"";
  std::printf("box: caption \"%s\", owner %s, text \"%s\"\n", box.caption.c_str(), owner.c_str(),
              box.text.c_str());
  std::fflush(stdout);
}

// The box the `show` command is waiting for, and when it is to be closed.
struct Watch {
  HWND box = nullptr;
  Clock::time_point close_at;
  std::chrono::seconds keep{5};
} watch;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (watch.box == nullptr) {
    watch.box = FindBox(GetCurrentThreadId(), "");
    if (watch.box == nullptr) return;
    watch.close_at = Clock::now() + watch.keep;
    Describe(ReadBox(watch.box));
  } else if (Clock::now() >= watch.close_at) {
    PressOk(watch.box);
  }
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CTLCOLORSTATIC) {
    // Labels on the window's own background instead of grey boxes.
    SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

HWND Label(HWND parent, const char* text, int x, int y, int width, int height) {
  return CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

int Show(const char* title, int seconds, const char* text) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = MainProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  window_class.lpszClassName = "ZylDemoWindow";
  RegisterClassA(&window_class);

  const HWND main = CreateWindowExA(0, "ZylDemoWindow", title, WS_OVERLAPPEDWINDOW, 20, 20, 660,
                                    440, nullptr, nullptr, instance, nullptr);
  Label(main, "Stock list: 1,204 items in 3 warehouses.", 24, 24, 560, 20);
  Label(main, "Last saved: never.", 24, 52, 560, 20);
  // WS_POPUP makes GetParent report the owner, the way a dialog box is reached.
  const HWND popup = CreateWindowExA(WS_EX_DLGMODALFRAME, "ZylDemoWindow", "Export settings",
                                     WS_POPUP | WS_CAPTION | WS_SYSMENU, 60, 110, 340, 170, main,
                                     nullptr, instance, nullptr);
  Label(popup, "Format: CSV", 20, 20, 280, 20);
  Label(popup, "Folder: C:\\Exports", 20, 46, 280, 20);
  ShowWindow(main, SW_SHOWNORMAL);
  ShowWindow(popup, SW_SHOWNORMAL);
  SetForegroundWindow(popup);
  SetActiveWindow(popup);
  UpdateWindow(main);
  UpdateWindow(popup);

  std::printf("main window %s \"%s\"\n", HandleText(main).c_str(), title);
  std::printf("active window %s \"%s\"\n", HandleText(GetActiveWindow()).c_str(),
              WindowText(GetActiveWindow()).c_str());
  std::fflush(stdout);

  watch.keep = std::chrono::seconds(seconds);
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, OnTimer);
  ShowZYLMsg(text);
  KillTimer(nullptr, timer);
  std::printf("ShowZYLMsg returned\n");
  std::fflush(stdout);
  DestroyWindow(main);  // takes the owned pop-up with it
  return watch.box != nullptr ? 0 : 1;
}

int CloseBox(const char* caption, int seconds) {
  for (const auto until = Clock::now() + std::chrono::seconds(seconds); Clock::now() < until;
       std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
    const HWND box = FindBox(0, caption);
    if (box == nullptr) continue;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it finish drawing
    Describe(ReadBox(box));
    return CloseBox(box) ? 0 : 1;
  }
  std::printf("no box captioned \"%s\" within %d s\n", caption, seconds);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "show" && argc == 5) return Show(argv[2], std::atoi(argv[3]), argv[4]);
  if (command == "close-box" && argc == 4) return CloseBox(argv[2], std::atoi(argv[3]));
  std::fprintf(stderr,
               "usage: zyl_demo_host show TITLE SECONDS TEXT\n"
               "       zyl_demo_host close-box CAPTION SECONDS\n");
  return 2;
}
