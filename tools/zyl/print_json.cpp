#include <cstdint>
#include <nlohmann/json.hpp>

#include "show.h"

namespace zyl::tool {
namespace {

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or code points past
// U+10FFFF. Checked in place: a message may be most of the memory there is.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t size = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    if ((byte >= 0x80 && byte < 0xC2) || byte > 0xF4 || i + size > text.size()) return false;
    std::uint32_t code = size == 1 ? byte : byte & (0x7F >> size);
    for (std::size_t k = 1; k < size; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[size] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += size;
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
