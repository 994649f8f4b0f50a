#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

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

std::size_t EnvironmentValue(const char* name, char* buf, std::size_t size) {
  return GetEnvironmentVariableA(name, buf, static_cast<DWORD>(size));
}

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenForAppend(const char* path, DWORD access, DWORD disposition) {
  // Others may read, move or delete the log between records.
  return CreateFileA(path, access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE Handle(const AppendFile& file) { return reinterpret_cast<HANDLE>(file.handle); }

// Tries once to lock every offset of `file`, the end included, for this writer alone. Another
// process may hold a lock for as long as it likes (a viewer's shared lock, a stuck writer), so
// the lock is never waited for here.
Try TryLock(HANDLE file) {
  OVERLAPPED whole{};
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                 &whole)) {
    return Try::kDone;
  }
  // Any other failure (a handle that may not lock) will not pass by waiting.
  return GetLastError() == ERROR_LOCK_VIOLATION ? Try::kBusy : Try::kFailed;
}

// Appends as much of `data` as fits; returns how many bytes went out.
std::size_t WriteAll(HANDLE file, std::string_view data) {
  std::size_t done = 0;
  while (done < data.size()) {
    // One WriteFile moves at most 4 GiB; the lock keeps the pieces of a larger record together.
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, MAXDWORD));
    DWORD written = 0;
    if (!WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0) break;
    done += written;
  }
  return done;
}

// Cuts off the `written` bytes a record left at the end of `file` before the disk filled up, so the
// next record starts on a line of its own. Only under the lock: nobody else appended since. The
// append handle may not set the end of file; a second one to the same file may, where the file
// grants write access; elsewhere the partial record stays.
void CutBack(HANDLE file, std::size_t written) {
  const HANDLE writer = ReOpenFile(file, FILE_WRITE_DATA, kShareAll, 0);
  if (writer == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(writer, &size)) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size.QuadPart - static_cast<LONGLONG>(written);
    SetFileInformationByHandle(writer, FileEndOfFileInfo, &end, sizeof end);
  }
  CloseHandle(writer);
}

}  // namespace

AppendFile OpenForAppend(const char* path, bool existing_only) {
  const DWORD disposition = existing_only ? OPEN_EXISTING : OPEN_ALWAYS;
  // LockFileEx needs read or write-data access next to append; a file that grants append alone
  // is still written, unlocked. Reading attributes lets a rotation tell the file apart.
  HANDLE file =
      OpenForAppend(path, FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES, disposition);
  if (file == INVALID_HANDLE_VALUE) file = OpenForAppend(path, FILE_APPEND_DATA, disposition);
  if (file == INVALID_HANDLE_VALUE) return {};
  // An append-only handle alone does not keep two processes' appends apart everywhere (Wine
  // loses records); an exclusive lock over every offset, the end included, does.
  return {reinterpret_cast<std::intptr_t>(file), TryLock(file)};
}

Try TryLockAppends(const AppendFile& file) { return TryLock(Handle(file)); }

bool AppendWhole(const AppendFile& file, std::string_view data) {
  const HANDLE handle = Handle(file);
  const std::size_t done = WriteAll(handle, data);
  if (file.lock == Try::kDone && done != 0 && done < data.size()) CutBack(handle, done);
  return done == data.size();
}

std::optional<std::uint64_t> FileSize(const AppendFile& file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(Handle(file), &size)) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

// An append-only handle's file pointer does not follow its writes.
std::optional<std::uint64_t> AppendEnd(const AppendFile& /*file*/) { return std::nullopt; }

Try TryLockForRotation(const AppendFile& file) {
  return file.lock == Try::kDone ? Try::kDone : Try::kFailed;
}

void CloseFile(const AppendFile& file) {
  // Closing the handle releases its lock. An UnlockFileEx first would cost every record one more
  // round trip to the system (under Wine, a fifth of its time). Windows documents that a lock left
  // to the close may take a moment longer to go; other writers wait within their bound meanwhile.
  if (file.handle != -1) CloseHandle(Handle(file));
}

std::intptr_t OpenForReading(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(file);
}

namespace {

// What `file` is open on when it is no regular file; null for a regular file.
const char* Stranger(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK) return "a device";
  if (!GetFileInformationByHandle(file, &info)) return nullptr;  // the read will tell
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return "a symbolic link";
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return "a directory";
  return nullptr;
}

}  // namespace

std::intptr_t OpenRegularFile(const char* path, const char** stranger) {
  // The link itself, not its target; a folder opens only with backup semantics.
  const HANDLE file =
      CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  *stranger = Stranger(file);
  if (*stranger == nullptr) return reinterpret_cast<std::intptr_t>(file);
  CloseHandle(file);
  return -1;
}

namespace {

std::optional<FileId> IdOfHandle(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber,
                (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace

std::optional<FileId> IdOfFile(const AppendFile& file) { return IdOfHandle(Handle(file)); }

std::optional<FileId> IdOfPath(const char* path) {
  // A folder too: a log's name may name one by mistake.
  const HANDLE file = CreateFileA(path, FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::optional<FileId> id = IdOfHandle(file);
  CloseHandle(file);
  return id;
}

bool RenameNoReplace(const char* from, const char* to) {
  // Without MOVEFILE_REPLACE_EXISTING an existing `to` fails the move.
  return MoveFileExA(from, to, 0) != 0;
}

bool RemoveFile(const char* path) { return DeleteFileA(path) != 0; }

std::vector<std::string> FolderNames(const std::string& prefix) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string_view PathSeparators() { return "\\/:"; }

bool NamesIgnoreCase() { return true; }

std::string LastErrorText() {
  const DWORD error = GetLastError();
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  if (length == 0) return "error " + std::to_string(error);
  return std::string(text, length);
}

std::string_view TextNewline() { return "\r\n"; }

std::uint64_t MonotonicMs() { return GetTickCount64(); }

void PauseMs(std::uint64_t ms) {
  Sleep(static_cast<DWORD>(std::min<std::uint64_t>(ms, INFINITE - 1)));
}

std::int64_t CalendarTime() {
  // _time64's clock, read directly: msvcrt under Wine also asks the system for the time zone at
  // every call, for a daylight flag _time64 drops (2 us, most of a record's own work).
  constexpr std::int64_t k1601To1970 = 116444736000000000;  // in 100 ns ticks
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const auto ticks = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  return (ticks - k1601To1970) / 10000000;
}

bool BrokenDownLocalTime(std::int64_t seconds, std::tm* out) {
  const __time64_t when = seconds;
  return _localtime64_s(out, &when) == 0;
}

HWND ActiveWindow() { return GetActiveWindow(); }

HWND ParentWindow(HWND window) { return GetParent(window); }

bool IsWindow(HWND window) { return ::IsWindow(window) != FALSE; }

void WindowText(HWND window, char* buf, int size) {
  if (GetWindowTextA(window, buf, size) == 0) buf[0] = '\0';
}

void ShowBox(HWND owner, const char* text, const char* caption) {
  // The button pressed carries no meaning here.
  MessageBoxA(owner, text, caption, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace zyl::platform
