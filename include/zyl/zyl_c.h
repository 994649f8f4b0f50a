#ifndef ZYL_ZYL_C_H_
#define ZYL_ZYL_C_H_

/* ZIZUDUZ's C interface, for any compiler and any language that can call C: the library
   ZIZUDUZC (ZIZUDUZC.dll, libZIZUDUZC.so) calls the C++ exports of zyl/zyl.h, so the results,
   the debug switch and LogName are theirs (docs/api.md has each one's contract).

   Texts in are a pointer and a length in bytes: NULs inside count as bytes, ZYL_NUL_TERMINATED
   as the length takes the text up to its first NUL, and a null pointer is the empty text whatever
   the length. Texts out follow snprintf: the result's whole length is returned; at most size - 1
   of its bytes and a NUL are written to out (NULs inside the result kept); nothing is written when
   size is 0 or out is null, so ask for the length first, then pass a buffer of length + 1. The
   input is read whole before out is written, so out may be the input's own buffer. When memory
   runs out the result is empty: 0 is returned, and out holds an empty string. Nothing throws;
   every function is thread-safe as its C++ export is. */

#include <stddef.h>

#define ZYL_NUL_TERMINATED ((size_t)-1) /* as a length: the text runs to its first NUL */

/* The C calling convention on every architecture, and plain names in the export table. */
#if defined(_WIN32)
#define ZYL_C_CALL __cdecl
#else
#define ZYL_C_CALL
#endif

#if defined(_WIN32) && defined(ZYL_C_BUILDING)
#define ZYL_C_API __declspec(dllexport)
#elif defined(_WIN32)
#define ZYL_C_API __declspec(dllimport)
#elif defined(__GNUC__)
#define ZYL_C_API __attribute__((visibility("default")))
#else
#define ZYL_C_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The text without its leading and trailing blanks and control bytes (0x00-0x20, 0x7F). */
ZYL_C_API size_t ZYL_C_CALL zyl_trim(const char* text, size_t length, char* out, size_t size);
ZYL_C_API size_t ZYL_C_CALL zyl_trim_left(const char* text, size_t length, char* out, size_t size);
ZYL_C_API size_t ZYL_C_CALL zyl_trim_right(const char* text, size_t length, char* out, size_t size);

/* The text widened to `width` bytes with `fill`, on the left when pad_left is non-zero; a width
   at or below the text's length returns the text. */
ZYL_C_API size_t ZYL_C_CALL zyl_pad(const char* text, size_t length, char fill, int width,
                                    int pad_left, char* out, size_t size);

/* The path's parts after and up to its last backslash or colon; both empty without one. */
ZYL_C_API size_t ZYL_C_CALL zyl_extract_file_name(const char* path, size_t length, char* out,
                                                  size_t size);
ZYL_C_API size_t ZYL_C_CALL zyl_extract_file_path(const char* path, size_t length, char* out,
                                                  size_t size);

/* The short (8.3) form of an existing path; empty when there is none. */
ZYL_C_API size_t ZYL_C_CALL zyl_short_path_name(const char* path, size_t length, char* out,
                                                size_t size);

/* The title of `window` (an HWND), empty for a handle that names no window; for a null window
   the executable's file name. */
ZYL_C_API size_t ZYL_C_CALL zyl_window_title(void* window, char* out, size_t size);

/* 1 when the environment variable DEBUG is "ON" in any letter case, else 0. */
ZYL_C_API int ZYL_C_CALL zyl_debug(void);

/* Appends a time-stamped record of `message` to the file zyl_log_name() names. */
ZYL_C_API void ZYL_C_CALL zyl_send_debug_msg(const char* message, size_t length);

/* A modal box showing the text up to its first NUL; zyl_show_error shows `detail` when
   zyl_debug() is 1, `text` otherwise. Each returns when the box is closed. */
ZYL_C_API void ZYL_C_CALL zyl_show_msg(const char* text, size_t length);
ZYL_C_API void ZYL_C_CALL zyl_show_error(const char* text, size_t text_length, const char* detail,
                                         size_t detail_length);

/* The library's LogName: the log's path, "C:\ZYL.LOG" at load; null when logging is off.
   zyl_set_log_name keeps the pointer itself, so its storage must outlive the logging. */
ZYL_C_API const char* ZYL_C_CALL zyl_log_name(void);
ZYL_C_API void ZYL_C_CALL zyl_set_log_name(const char* path);

#ifdef __cplusplus
}
#endif

#endif /* ZYL_ZYL_C_H_ */
