#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/platform.h"

namespace zyl::platform {

std::size_t ModulePath(const void* module, char* buf, std::size_t size) {
  const HMODULE handle = static_cast<HMODULE>(const_cast<void*>(module));
  return GetModuleFileNameA(handle, buf, static_cast<DWORD>(size));
}

void PinLibrary(const char* path) {
  // Never released: keeps the library mapped until the process exits. A failure leaves it
  // unpinned, which is all that can be done about it.
  LoadLibraryA(path);
}

std::size_t ShortPathName(const char* path, char* buf, std::size_t size) {
  return GetShortPathNameA(path, buf, static_cast<DWORD>(size));
}

namespace {

HANDLE OpenForAppend(const char* path, DWORD access) {
  // Others may read, move or delete the log between records.
  return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool AppendToFile(const char* path, std::string_view data) {
  // LockFileEx needs read or write-data access next to append; a file that grants append alone
  // is still written, unlocked.
  HANDLE file = OpenForAppend(path, FILE_APPEND_DATA | FILE_READ_DATA);
  if (file == INVALID_HANDLE_VALUE) file = OpenForAppend(path, FILE_APPEND_DATA);
  if (file == INVALID_HANDLE_VALUE) return false;
  // An append-only handle alone does not keep two processes' appends apart everywhere (Wine
  // loses records); an exclusive lock over every offset, the end included, does.
  OVERLAPPED whole{};
  const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
  // One WriteFile moves at most 4 GiB; the lock keeps the pieces of a larger record together.
  bool ok = true;
  while (ok && !data.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), MAXDWORD));
    DWORD written = 0;
    ok = WriteFile(file, data.data(), chunk, &written, nullptr) && written != 0;
    data.remove_prefix(written);
  }
  if (locked) UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
  CloseHandle(file);
  return ok;
}

std::string_view TextNewline() { return "\r\n"; }

// The 64-bit calls whatever time_t is: the i686 build's ends in 2038.
std::int64_t CalendarTime() { return _time64(nullptr); }

bool LocalTime(std::int64_t seconds, std::tm* out) {
  const __time64_t when = seconds;
  return _localtime64_s(out, &when) == 0;
}

HWND ActiveWindow() { return GetActiveWindow(); }

HWND ParentWindow(HWND window) { return GetParent(window); }

void WindowText(HWND window, char* buf, int size) {
  if (GetWindowTextA(window, buf, size) == 0) buf[0] = '\0';
}

void ShowBox(HWND owner, const char* text, const char* caption) {
  // The button pressed carries no meaning here.
  MessageBoxA(owner, text, caption, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace zyl::platform
