#include "output.h"

#include <algorithm>
#include <cstdint>

#include "system.h"

namespace zyl::tool {

Output::Output(std::FILE* file) : file_(file) {
  // The stream's own buffer would cut each of our blocks in two writes, and wake a reader twice.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  buffer_.reserve(kBlock);
}

void Output::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() <= kBlock) {
    buffer_.append(bytes);
    return;
  }
  Flush();
  if (after_block_) after_block_();
  if (bytes.size() < kBlock) {
    buffer_.append(bytes);
  } else {
    ok_ = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && ok_;
  }
}

bool Output::Flush() {
  if (!buffer_.empty()) {
    ok_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size() && ok_;
    buffer_.clear();
  }
  ok_ = std::fflush(file_) == 0 && ok_;
  return ok_;
}

void Complain(std::string_view message) {
  std::string line = "zyl: ";
  line.append(IsTerminal(2) ? Escaped(message) : message).append("\n");
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);  // Windows' C runtime buffers stderr when it is a file or a pipe
}

std::size_t Utf8CharSize(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = static_cast<unsigned char>(text[0]);
  const std::size_t size = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
  if ((byte >= 0x80 && byte < 0xC2) || byte > 0xF4 || size > text.size()) return 0;
  std::uint32_t code = size == 1 ? byte : byte & (0x7F >> size);
  for (std::size_t k = 1; k < size; ++k) {
    const auto next = static_cast<unsigned char>(text[k]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kLeast[size] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return size;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    hex.append(1, kDigits[static_cast<unsigned char>(c) >> 4]);
    hex.append(1, kDigits[static_cast<unsigned char>(c) & 15]);
  }
  return hex;
}

std::string Escaped(std::string_view text) {
  std::string shown;
  for (std::size_t i = 0, step = 0; i < text.size(); i += step) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t size = Utf8CharSize(text.substr(i));
    step = std::max<std::size_t>(size, 1);
    const bool c1 = size == 2 && byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
    const bool plain = byte == '\t' || byte == '\n' || text.substr(i, 2) == "\r\n" ||
                       (byte >= 0x20 && byte != 0x7F && (byte < 0x80 || byte >= 0xA0));
    if (size > 1 ? !c1 : plain) {
      shown.append(text.substr(i, step));
    } else {
      for (const char c : text.substr(i, step)) shown.append("\\x").append(Hex({&c, 1}));
    }
  }
  return shown;
}

}  // namespace zyl::tool
