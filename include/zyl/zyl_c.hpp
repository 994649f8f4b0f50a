#ifndef ZYL_ZYL_C_HPP_
#define ZYL_ZYL_C_HPP_

// ZIZUDUZ for C++ callers on any compiler and standard library (MSVC, libc++, another libstdc++):
// inline functions over the C interface of zyl/zyl_c.h, so only C types cross into the library.
// Link against ZIZUDUZC, not ZIZUDUZ. Results and failures are those of zyl/zyl.h's exports;
// texts keep their NULs both ways.

#include <cstddef>
#include <string>
#include <string_view>

#include "zyl/zyl_c.h"

namespace zyl_c {
namespace detail {

// Calls `fill(out, size)`, an snprintf-like C function, until the result fits.
template <class Fill>
std::string Result(const Fill& fill) {
  std::string out(256, '\0');
  for (;;) {
    const std::size_t length = fill(out.data(), out.size());
    if (length < out.size()) {
      out.resize(length);
      return out;
    }
    out.resize(length + 1);  // grew between the calls: ask again
  }
}

}  // namespace detail

inline std::string Trim(std::string_view text) {
  return detail::Result(
      [&](char* out, std::size_t size) { return zyl_trim(text.data(), text.size(), out, size); });
}

inline std::string TrimLeft(std::string_view text) {
  return detail::Result([&](char* out, std::size_t size) {
    return zyl_trim_left(text.data(), text.size(), out, size);
  });
}

inline std::string TrimRight(std::string_view text) {
  return detail::Result([&](char* out, std::size_t size) {
    return zyl_trim_right(text.data(), text.size(), out, size);
  });
}

inline std::string Pad(std::string_view text, char fill, int width, bool pad_left) {
  return detail::Result([&](char* out, std::size_t size) {
    return zyl_pad(text.data(), text.size(), fill, width, pad_left ? 1 : 0, out, size);
  });
}

inline std::string ExtractFileName(std::string_view path) {
  return detail::Result([&](char* out, std::size_t size) {
    return zyl_extract_file_name(path.data(), path.size(), out, size);
  });
}

inline std::string ExtractFilePath(std::string_view path) {
  return detail::Result([&](char* out, std::size_t size) {
    return zyl_extract_file_path(path.data(), path.size(), out, size);
  });
}

inline std::string ShortPathName(std::string_view path) {
  return detail::Result([&](char* out, std::size_t size) {
    return zyl_short_path_name(path.data(), path.size(), out, size);
  });
}

// `window` is an HWND.
inline std::string WindowTitle(void* window) {
  return detail::Result(
      [&](char* out, std::size_t size) { return zyl_window_title(window, out, size); });
}

inline bool Debug() { return zyl_debug() != 0; }

inline void SendDebugMsg(std::string_view message) {
  zyl_send_debug_msg(message.data(), message.size());
}

inline void ShowMsg(std::string_view text) { zyl_show_msg(text.data(), text.size()); }

inline void ShowError(std::string_view text, std::string_view detail) {
  zyl_show_error(text.data(), text.size(), detail.data(), detail.size());
}

// The log's path; null when logging is off.
inline const char* LogName() { return zyl_log_name(); }

// The library keeps `path` itself: it must outlive the logging.
inline void SetLogName(const char* path) { zyl_set_log_name(path); }

}  // namespace zyl_c

#endif  // ZYL_ZYL_C_HPP_
