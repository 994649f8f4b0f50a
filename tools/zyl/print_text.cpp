#include "show.h"

namespace zyl::tool {

void PrintText(const LogEntry& entry, bool escape, Output& out) {
  out.Write(escape ? Escaped(entry.text) : entry.text);
  if (!entry.cut && !entry.text.empty() && entry.text.back() != '\n') out.Write("\n");
}

std::string NoteOn(const LogEntry& entry, std::string_view file) {
  if (entry.is_record && !entry.torn) return {};
  std::string note(file);
  note += ", byte " + std::to_string(entry.offset) + ": ";
  note += entry.is_record ? "a record cut short" : "not a record";
  return note + ", shown as it is";
}

}  // namespace zyl::tool
