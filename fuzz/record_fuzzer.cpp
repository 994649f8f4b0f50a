// Reading any bytes as a log (see RecordReader): every byte lands in exactly one entry, at its
// offset; any split of the input into blocks gives the same entries; every JSON line parses.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "record_reader.h"
#include "show.h"

namespace {

using zyl::tool::LogEntry;
using zyl::tool::RecordReader;

// The entries of `log` as JSON lines, fed in blocks whose sizes follow from `seed`.
std::vector<std::string> JsonLines(std::string_view log, std::size_t seed) {
  std::vector<std::string> lines;
  std::string joined;
  RecordReader reader([&](LogEntry& entry) {
    ZYL_FUZZ_CHECK(entry.offset == joined.size());
    joined += entry.text;
    lines.push_back(zyl::tool::JsonLine(entry));
    ZYL_FUZZ_CHECK(nlohmann::json::accept(lines.back()));
  });
  for (std::size_t at = 0, step = seed; at < log.size(); at += step) {
    step = seed == 0 ? log.size() : 1 + (step * 7 + seed) % 97;
    reader.Feed(log.substr(at, step));
  }
  reader.Finish();
  ZYL_FUZZ_CHECK(joined == log);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view log(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> whole = JsonLines(log, 0);
  for (std::size_t seed = 1; seed <= 3; ++seed) ZYL_FUZZ_CHECK(JsonLines(log, seed) == whole);
  return 0;
}
