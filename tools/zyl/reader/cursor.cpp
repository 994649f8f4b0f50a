#include "cursor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "output.h"
#include "text/number.h"

namespace zyl::tool {
namespace {

constexpr std::string_view kFirstLine = "zyl-cursor 2";
constexpr std::string_view kFirstLineBefore = "zyl-cursor 1";  // file lines without BIRTH
// Far more than a log's files ever need: a follower keeps every file it may still read, a few
// thousand when rotations come at every record (about 600 bytes each).
constexpr std::size_t kLargest = std::size_t{64} << 20;

std::string Written(std::string_view name) {
  std::string text;
  for (const char c : name) {
    text += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
  }
  return text;
}

std::optional<std::string> Unwritten(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      name += text[i];
    } else if (++i < text.size() && (text[i] == '\\' || text[i] == 'n' || text[i] == 'r')) {
      name += text[i] == 'n' ? '\n' : text[i] == 'r' ? '\r' : '\\';
    } else {
      return std::nullopt;
    }
  }
  return name;
}

// Bytes written as Hex() writes them, "-" for none; nullopt for anything else.
std::optional<std::string> FromHex(std::string_view hex) {
  if (hex == "-") return std::string();
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    const auto byte = ParseNumber<unsigned char>(hex.substr(i, 2), 16);
    if (!byte || Hex(std::string(1, static_cast<char>(*byte))) != hex.substr(i, 2)) {
      return std::nullopt;
    }
    bytes += static_cast<char>(*byte);
  }
  if (hex.empty() || hex.size() % 2 != 0 || bytes.size() > kHeadSize) return std::nullopt;
  return bytes;
}

// The next field of `line`, up to a blank, taken off it with the blank; empty when there is no
// blank (a name, the last field, may be empty).
std::string_view TakeField(std::string_view& line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return {};
  const std::string_view field = line.substr(0, blank);
  line.remove_prefix(blank + 1);
  return field;
}

std::optional<std::uint64_t> TakeNumber(std::string_view& line) {
  return ParseNumber<std::uint64_t>(TakeField(line));
}

bool TakeLine(std::string_view line, bool with_birth, Cursor& cursor) {
  const std::string_view kind = TakeField(line);
  if (kind == "log") {
    const auto newest = TakeNumber(line);
    const auto name = Unwritten(line);
    if (!newest || !name) return false;
    cursor.newest[*name] = *newest;
    return true;
  }
  if (kind != "file") return false;
  const auto volume = TakeNumber(line), index = TakeNumber(line);
  const auto birth = with_birth ? TakeNumber(line) : std::optional<std::uint64_t>(0);
  const auto offset = TakeNumber(line);
  const auto head = FromHex(TakeField(line));
  const auto name = Unwritten(line);
  if (!volume || !index || !birth || !offset || !head || !name) return false;
  cursor.files.push_back({{*volume, *index, *birth}, *offset, *head, *name});
  return true;
}

}  // namespace

std::string CursorText(const Cursor& cursor) {
  std::string text = std::string(kFirstLine) + "\n";
  for (const auto& [name, newest] : cursor.newest) {
    text += "log " + std::to_string(newest) + " " + Written(name) + "\n";
  }
  for (const FilePlace& file : cursor.files) {
    text += "file " + std::to_string(file.id.volume) + " " + std::to_string(file.id.index) + " " +
            std::to_string(file.id.birth) + " " + std::to_string(file.offset) + " " +
            (file.head.empty() ? "-" : Hex(file.head)) + " " + Written(file.name) + "\n";
  }
  return text;
}

std::optional<Cursor> ParseCursor(std::string_view text) {
  Cursor cursor;
  bool first = true, with_birth = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // a cursor ends with its line end
    const std::string_view line = text.substr(0, end);
    if (first) {
      with_birth = line == kFirstLine;
      if (!with_birth && line != kFirstLineBefore) return std::nullopt;
    } else if (!TakeLine(line, with_birth, cursor)) {
      return std::nullopt;
    }
    first = false;
    text.remove_prefix(end + 1);
  }
  if (first) return std::nullopt;
  return cursor;
}

bool LoadCursor(const std::string& path, std::optional<Cursor>* cursor, std::string* problem) {
  cursor->reset();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (errno == ENOENT) return true;
    *problem = std::strerror(errno);
    return false;
  }
  std::string text;
  char block[64 * 1024];
  for (std::size_t got;
       text.size() <= kLargest && (got = std::fread(block, 1, sizeof block, file));) {
    text.append(block, got);
  }
  const bool read = !std::ferror(file);
  std::fclose(file);
  if (!read) *problem = "cannot read it";
  if (!read || text.empty()) return read;
  *cursor = text.size() <= kLargest ? ParseCursor(text) : std::nullopt;
  if (!*cursor) *problem = "not a cursor that zyl wrote";
  return cursor->has_value();
}

bool SaveCursor(const std::string& path, const Cursor& cursor, std::string* problem) {
  const std::string beside = path + ".new";
  const std::string text = CursorText(cursor);
  std::FILE* file = std::fopen(beside.c_str(), "wb");
  bool saved = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  saved = file != nullptr && std::fclose(file) == 0 && saved;
  if (saved && MoveOver(beside, path)) return true;
  *problem = saved ? "cannot rename " + beside + " over it" : std::strerror(errno);
  std::remove(beside.c_str());
  return false;
}

}  // namespace zyl::tool
