#include <nlohmann/json.hpp>

#include "show.h"

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
  if (IsUtf8(bytes)) return;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * bytes.size());
  for (const char c : bytes) {
    hex += kHex[static_cast<unsigned char>(c) >> 4];
    hex += kHex[static_cast<unsigned char>(c) & 15];
  }
  object[key + "_hex"] = std::move(hex);
}

}  // namespace

std::string JsonLine(const LogEntry& entry) {
  nlohmann::json object;
  object["offset"] = entry.offset;
  if (!entry.is_record) {
    object["record"] = false;
    PutText(object, "text", entry.text, entry.text);
  } else {
    object["time"] = entry.time ? nlohmann::json(IsoText(*entry.time)) : nlohmann::json();
    PutText(object, "exe", std::string(entry.exe()), entry.exe());
    PutText(object, "message", entry.MessageText(), entry.message());
    if (entry.torn) object["torn"] = true;
  }
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace zyl::tool
