#include <windows.h>

#include <chrono>

#include "box_watch.h"

namespace zyl::testing {
namespace {

std::string ClassOf(HWND window) {
  char buf[64] = {};
  GetClassNameA(window, buf, sizeof buf);
  return buf;
}

struct Search {
  const std::string& caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM search_param) {
  auto& search = *reinterpret_cast<Search*>(search_param);
  if (ClassOf(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
  if (!search.caption.empty() && WindowText(window) != search.caption) return TRUE;
  search.found = window;
  return FALSE;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM into) {
  auto& box = *reinterpret_cast<ShownBox*>(into);
  const std::string kind = ClassOf(control);
  if (kind == "Button" && IsWindowVisible(control)) box.buttons.push_back(WindowText(control));
  // The text's static, not the icon's.
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (kind == "Static" && (style & SS_TYPEMASK) != SS_ICON) box.text = WindowText(control);
  return TRUE;
}

}  // namespace

std::string WindowText(HWND window) {
  // GetWindowTextA would wait for good on a window whose thread is stuck.
  char buf[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                      SMTO_ABORTIFHUNG, 1000, &copied);
  return buf;
}

HWND FindBox(unsigned long thread, const std::string& caption) {
  if (thread == 0) {
    // Asks the system for dialogs alone: watchers poll this, and every call crosses to the server.
    const char* title = caption.empty() ? nullptr : caption.c_str();
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", title)) != nullptr) {
      if (IsWindowVisible(box)) return box;
    }
    return nullptr;
  }
  Search search{caption};
  EnumThreadWindows(thread, MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ShownBox ReadBox(HWND box) {
  ShownBox seen;
  seen.owner = GetWindow(box, GW_OWNER);
  seen.caption = WindowText(box);
  seen.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  seen.foreground = GetForegroundWindow() == box;
  seen.owner_enabled = seen.owner != nullptr && IsWindowEnabled(seen.owner);
  EnumChildWindows(box, ReadControl, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

void PressOk(HWND box) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

bool CloseBox(HWND box) {
  PressOk(box);
  // Generous for a loaded machine, yet no test can hang on a box nobody closes.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (; std::chrono::steady_clock::now() < until; Sleep(2)) {
    if (!IsWindow(box)) return true;
  }
  return false;
}

}  // namespace zyl::testing
