// Reading any bytes as a log (see RecordReader): every byte lands in exactly one entry, at its
// offset; any split of the input into blocks, and any size of the pieces a long record or a run
// of bytes of no record is passed on in, gives the same records and bytes; every JSON line parses.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "printers.h"
#include "record_reader.h"

namespace {

using zyl::tool::LogEntry;
using zyl::tool::RecordReader;

// What `log` reads as, fed in blocks whose sizes follow from `seed`, passed on in pieces of
// `piece` bytes: a line per record, its pieces joined, and per run of bytes of no record.
std::vector<std::string> Read(std::string_view log, std::size_t seed, std::size_t piece) {
  std::vector<std::string> read;
  std::string joined;
  RecordReader reader(
      [&](LogEntry& entry) {
        ZYL_FUZZ_CHECK(entry.offset == joined.size());
        ZYL_FUZZ_CHECK(entry.text.size() <= entry.message_begin + piece);
        ZYL_FUZZ_CHECK(nlohmann::json::accept(zyl::tool::JsonLine(entry, seed % 2 == 1)));
        joined += entry.text;
        const bool goes_on =
            entry.piece > 1 || (!entry.is_record && !read.empty() && read.back()[0] == 'S');
        if (!goes_on && entry.is_record) {
          read.push_back("R" + std::to_string(entry.offset) + " " + std::string(entry.exe()) + " " +
                         (entry.time ? std::to_string(entry.time->Key()) : "?") + " ");
        } else if (!goes_on) {
          read.push_back("S");
        }
        read.back() += entry.is_record ? entry.MessageText() : entry.text;
        if (entry.torn) read.back() += " torn";
      },
      0, piece);
  for (std::size_t at = 0, step = seed; at < log.size(); at += step) {
    step = seed == 0 ? log.size() : 1 + (step * 7 + seed) % 97;
    reader.Feed(log.substr(at, step));
  }
  reader.Finish();
  ZYL_FUZZ_CHECK(joined == log);
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view log(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> whole = Read(log, 0, RecordReader::kRecordPiece);
  for (std::size_t seed = 1; seed <= 3; ++seed) {
    ZYL_FUZZ_CHECK(Read(log, seed, RecordReader::kRecordPiece) == whole);
    ZYL_FUZZ_CHECK(Read(log, seed, RecordReader::kLeastPiece + size % (7 * seed)) == whole);
  }
  return 0;
}
