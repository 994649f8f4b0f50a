#include "stdin_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "system.h"

namespace zyl::tool {

Status ForEachLine(int fd, Output& out, const std::function<Status(std::string_view line)>& step) {
  std::string block(64 * 1024, '\0');
  std::string partial;  // a line that runs on past its block
  std::uint64_t done = 0;
  Status worst = kOk;
  // Whether to go on after `line`; `ended`: it had a line end, whose LF is already gone.
  const auto take = [&](std::string_view line, bool ended = true) {
    if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    worst = std::max(worst, step(line));
    ++done;
    return worst != kFailed && out.ok();
  };
  try {
    for (;;) {
      out.Flush();
      const long got = ReadSome(fd, block.data(), block.size());
      if (got < 0) {
        Complain(std::string("could not read standard input: ") + std::strerror(errno));
        return kFailed;
      }
      if (got == 0) break;
      std::string_view rest(block.data(), static_cast<std::size_t>(got));
      while (const void* lf = std::memchr(rest.data(), '\n', rest.size())) {
        const auto size = static_cast<std::size_t>(static_cast<const char*>(lf) - rest.data());
        const bool go =
            take(partial.empty() ? rest.substr(0, size) : partial.append(rest, 0, size));
        partial.clear();
        if (!go) return worst;
        rest.remove_prefix(size + 1);
      }
      partial.append(rest);
    }
    if (!partial.empty()) take(partial, false);
  } catch (const std::bad_alloc&) {
    Complain("out of memory at line " + std::to_string(done + 1) + " of standard input");
    return kFailed;
  }
  return worst;
}

}  // namespace zyl::tool
