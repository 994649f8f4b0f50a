#ifndef ZYL_TOOLS_ZYL_STDIO_MODE_H_
#define ZYL_TOOLS_ZYL_STDIO_MODE_H_

namespace zyl::tool {

// Makes standard input and output carry bytes unchanged: no CRLF translation and no Ctrl-Z end
// of file on Windows, so results are the same bytes on every platform. Call before any I/O.
void UseBinaryStdio();

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_STDIO_MODE_H_
