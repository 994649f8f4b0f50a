#include "zyl/zyl_c.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/no_throw.h"
#include "zyl/zyl.h"

namespace {

// A null pointer is the empty text whatever the length: a caller's slip must not crash the host.
std::string_view Text(const char* text, size_t length) {
  if (text == nullptr) return "";
  if (length == ZYL_NUL_TERMINATED) return text;
  return {text, length};
}

ZYLString Copy(const char* text, size_t length) {
  const std::string_view view = Text(text, length);
  return ZYLString(view.data(), view.size());
}

// snprintf's contract. The result is complete before `out` is touched, so `out` may be the
// input's own buffer; running out of memory gives 0 and an empty `out`.
template <class Body>
size_t Result(char* out, size_t size, const Body& body) {
  if (out == nullptr) size = 0;
  size_t written = 0;
  const size_t length = zyl::NoThrow([&]() -> size_t {
    const std::string& result = body();
    if (size != 0) {
      written = std::min(result.size(), size - 1);
      std::memcpy(out, result.data(), written);
    }
    return result.size();
  });
  if (size != 0) out[written] = '\0';
  return length;
}

}  // namespace

size_t zyl_trim(const char* text, size_t length, char* out, size_t size) {
  return Result(out, size, [&] { return ZYLTrim(Copy(text, length)); });
}

size_t zyl_trim_left(const char* text, size_t length, char* out, size_t size) {
  return Result(out, size, [&] { return ZYLTrimLeft(Copy(text, length)); });
}

size_t zyl_trim_right(const char* text, size_t length, char* out, size_t size) {
  return Result(out, size, [&] { return ZYLTrimRight(Copy(text, length)); });
}

size_t zyl_pad(const char* text, size_t length, char fill, int width, int pad_left, char* out,
               size_t size) {
  return Result(out, size,
                [&] { return PadString(Copy(text, length), fill, width, pad_left != 0); });
}

size_t zyl_extract_file_name(const char* path, size_t length, char* out, size_t size) {
  return Result(out, size, [&] { return ExtractFileName(Copy(path, length)); });
}

size_t zyl_extract_file_path(const char* path, size_t length, char* out, size_t size) {
  return Result(out, size, [&] { return ExtractFilePath(Copy(path, length)); });
}

size_t zyl_short_path_name(const char* path, size_t length, char* out, size_t size) {
  return Result(out, size, [&] { return ExtractShortPathName(Copy(path, length)); });
}

size_t zyl_window_title(void* window, char* out, size_t size) {
  return Result(out, size, [&] { return GetWindowTitle(static_cast<HWND>(window)); });
}

int zyl_debug(void) { return Debug() ? 1 : 0; }

void zyl_send_debug_msg(const char* message, size_t length) {
  zyl::NoThrow([&] { SendDebugMsg(Copy(message, length)); });
}

void zyl_show_msg(const char* text, size_t length) {
  zyl::NoThrow([&] { ShowZYLMsg(Copy(text, length)); });
}

void zyl_show_error(const char* text, size_t text_length, const char* detail,
                    size_t detail_length) {
  zyl::NoThrow([&] { ShowZYLError(Copy(text, text_length), Copy(detail, detail_length)); });
}

const char* zyl_log_name(void) { return LogName; }

void zyl_set_log_name(const char* path) { LogName = path; }
