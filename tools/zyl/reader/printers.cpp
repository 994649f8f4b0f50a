// The printers of 'zyl show': as written, as JSON lines, and counted per program.

#include "printers.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <vector>

namespace zyl::tool {
namespace {

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0, size = 0; i < text.size(); i += size) {
    if ((size = Utf8CharSize(text.substr(i))) == 0) return false;
  }
  return true;
}

// A text field, and beside it, when `bytes` is not UTF-8, their exact bytes in hex.
void PutText(nlohmann::json& object, const std::string& key, std::string text,
             std::string_view bytes) {
  object[key] = std::move(text);
  if (!IsUtf8(bytes)) object[key + "_hex"] = Hex(bytes);
}

// A terminal takes DEL and the C1 controls U+0080-U+009F as commands; JSON's own escapes
// already cover C0. `json` is UTF-8 throughout, so 0xC2 leads a character.
std::string EscapedJson(std::string_view json) {
  std::string shown;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const auto byte = static_cast<unsigned char>(json[i]);
    const bool c1 =
        byte == 0xC2 && i + 1 < json.size() && static_cast<unsigned char>(json[i + 1]) < 0xA0;
    if (byte != 0x7F && !c1) {
      shown += json[i];
      continue;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x",
                  c1 ? static_cast<unsigned char>(json[++i]) : byte);
    shown += escape;
  }
  return shown;
}

}  // namespace

void PrintText(const LogEntry& entry, bool escape, Output& out) {
  out.Write(escape ? Escaped(entry.text) : entry.text);
}

std::string NoteOn(const LogEntry& entry, std::string_view file) {
  if (entry.is_record && !entry.torn) return {};
  return std::string(file) + ", byte " + std::to_string(entry.offset) + ": " +
         (entry.is_record ? "a record cut short" : "not a record") + ", shown as it is";
}

std::string JsonLine(const LogEntry& entry, bool escape, std::string_view file) {
  nlohmann::json object;
  object["offset"] = entry.offset;
  if (!file.empty()) PutText(object, "file", std::string(file), file);
  if (!entry.is_record) {
    object["record"] = false;
    PutText(object, "text", entry.text, entry.text);
  } else {
    if (entry.time) {
      object["time"] =
          IsoText(*entry.time, entry.instant ? entry.instant : LocalInstant(*entry.time));
    } else {
      object["time"] = nullptr;
    }
    PutText(object, "exe", std::string(entry.exe()), entry.exe());
    PutText(object, "message", entry.MessageText(), entry.message());
    if (entry.torn) object["torn"] = true;
    if (entry.piece != 0) object["piece"] = entry.piece;
    if (entry.cut) object["more"] = true;
  }
  const std::string json = object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  return escape ? EscapedJson(json) : json;
}

void Counter::Add(const LogEntry& entry) {
  if (entry.piece > 1) return;  // counted with its first
  if (!entry.is_record) {
    ++strays_;
  } else if (const auto it = counts_.find(entry.exe()); it != counts_.end()) {
    ++it->second;
  } else {
    counts_.emplace(entry.exe(), 1);
  }
}

void Counter::Print(bool escape, Output& out) const {
  std::vector<std::pair<std::string, std::uint64_t>> rows(counts_.begin(), counts_.end());
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (strays_ != 0) rows.emplace_back("(not a record)", strays_);
  for (const auto& [exe, count] : rows) {
    char number[32];
    std::snprintf(number, sizeof number, "%7llu ", static_cast<unsigned long long>(count));
    out.Write(number);
    out.Line(escape ? Escaped(exe) : exe);
  }
}

}  // namespace zyl::tool
