#include <memory>

#include "frame/no_throw.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

namespace {

constexpr int kTitleLimit = 1024;
// Window chains are short; the bound only guards the host against a corrupt one.
constexpr int kMaxChainLength = 4096;

// The window at the root of `window`'s chain of parents and owners.
HWND RootWindow(HWND window) {
  if (window == nullptr) return nullptr;
  for (int depth = 0; depth < kMaxChainLength; ++depth) {
    const HWND up = zyl::platform::ParentWindow(window);
    if (up == nullptr) break;
    window = up;
  }
  return window;
}

}  // namespace

ZYLString GetWindowTitle(HWND window) {
  return zyl::NoThrow([&] {
    auto title = std::make_unique<char[]>(kTitleLimit + 1);  // zero-filled: empty on failure
    if (window != nullptr) {
      // Asked first: for a handle that names no window, Wine's GetWindowTextA answers with
      // stray bytes rather than failing.
      if (zyl::platform::IsWindow(window)) {
        zyl::platform::WindowText(window, title.get(), kTitleLimit);
      }
      return ZYLString(title.get());
    }
    zyl::platform::ModulePath(nullptr, title.get(), kTitleLimit);
    return ExtractFileName(ZYLString(title.get()));
  });
}

void ShowZYLMsg(const std::string& text) {
  zyl::NoThrow([&] {
    const HWND owner = RootWindow(zyl::platform::ActiveWindow());
    const ZYLString caption = GetWindowTitle(owner);
    zyl::platform::ShowBox(owner, text.c_str(), caption.c_str());
  });
}

void ShowZYLError(const std::string& user_text, const std::string& detail) {
  zyl::NoThrow([&] { ShowZYLMsg(Debug() ? detail : user_text); });
}
