#ifndef ZYL_TOOLS_ZYL_READER_CURSOR_H_
#define ZYL_TOOLS_ZYL_READER_CURSOR_H_

// Where reading a log and its generations stands, kept in a file between runs (--cursor-file), so
// that the next run goes on after the last entry passed on, across rotations. A small text:
//   zyl-cursor 2
//   log NEWEST NAME                  per log named: every generation number up to NEWEST is
//                                    accounted for
//   file VOLUME INDEX BIRTH OFFSET HEAD NAME
//                                    a file by its identity (BIRTH 0: unknown), OFFSET past its
//                                    last entry passed on, HEAD its first bytes in hex ("-": none)
// A name is the rest of its line, with '\' and line ends written as \\, \n and \r. A cursor of
// version 1, whose file lines have no BIRTH, reads as one with BIRTH 0.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "system.h"

namespace zyl::tool {

// The most of a file's first bytes kept to tell it from another file with its identity: enough
// for a record's header, whose time tells a log started anew by the same program. Cursors of
// older versions kept 32, which still find their file.
inline constexpr std::size_t kHeadSize = 256;

struct FilePlace {
  platform::FileId id;
  std::uint64_t offset = 0;
  // Its first bytes, up to kHeadSize: a file created after it was removed may get its identity.
  std::string head;
  std::string name;  // where it was seen last; its identity is what finds it again
};

struct Cursor {
  std::map<std::string, std::uint64_t> newest;  // log name -> generation number (0: none)
  std::vector<FilePlace> files;
};

std::string CursorText(const Cursor& cursor);
// Nullopt when `text` is not a cursor that CursorText wrote.
std::optional<Cursor> ParseCursor(std::string_view text);

// The cursor kept at `path`; nullopt in `*cursor` when there is none yet (no file, or an empty
// one). False, with the reason in `problem`, when it cannot be read or holds no cursor.
bool LoadCursor(const std::string& path, std::optional<Cursor>* cursor, std::string* problem);
// Keeps `cursor` at `path`: written beside it, then renamed over it, so a reader never finds half
// of one. False, with the reason in `problem`, when it could not be.
bool SaveCursor(const std::string& path, const Cursor& cursor, std::string* problem);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_CURSOR_H_
