#include "show.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "check.h"
#include "log_reader.h"
#include "system.h"

namespace zyl::tool {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(250);
constexpr std::size_t kReadBlock = 1 << 20;
// The file's first bytes, kept to tell the same file grown from one started anew.
constexpr std::size_t kHeadSize = 256;
constexpr char kNotARecord[] = "(not a record)";

LogTime LocalTime(std::time_t when) {
  const std::tm* tm = std::localtime(&when);  // zyl runs one thread
  if (tm == nullptr) return {};
  return {tm->tm_year + 1900LL, tm->tm_mon + 1, tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec};
}

// "-90s", "-30m", "-2h" or "-7d": that long before `now`.
std::optional<std::int64_t> RelativeKey(std::string_view text, std::time_t now) {
  if (text.size() < 3 || text[0] != '-') return std::nullopt;
  const std::string_view units = "smhd";
  const std::int64_t unit_seconds[] = {1, 60, 3600, 86400};
  const std::size_t unit = units.find(text.back());
  std::int64_t count = 0;
  const char* end = text.data() + text.size() - 1;
  const auto [stop, error] = std::from_chars(text.data() + 1, end, count);
  if (unit == std::string_view::npos || error != std::errc() || stop != end ||
      count > 100LL * 366 * 86400) {
    return std::nullopt;
  }
  return LocalTime(now - static_cast<std::time_t>(count * unit_seconds[unit])).Key();
}

// A --since or --until value as a time key; none when it is not a time.
std::optional<std::int64_t> WhenKey(const std::string& text, std::time_t now) {
  if (const auto time = ParseCtime(text)) return time->Key();
  if (const auto time = ParseIsoTime(text)) return time->Key();
  return RelativeKey(text, now);
}

// ASCII letters only: the log's bytes are those of some ANSI code page, unknown here.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool ContainsUpper(std::string_view text, std::string_view upper_part) {
  return std::search(text.begin(), text.end(), upper_part.begin(), upper_part.end(),
                     [](char a, char b) { return Upper(a) == b; }) != text.end();
}

struct Filter {
  std::optional<std::int64_t> since, until;
  std::string app;  // upper-cased
  std::string grep;

  bool Matches(const LogEntry& entry) const {
    if ((since || until || !app.empty()) && !entry.is_record) return false;
    if (since || until) {
      if (!entry.time) return false;
      const std::int64_t key = entry.time->Key();
      if ((since && key < *since) || (until && key > *until)) return false;
    }
    if (!app.empty() && !ContainsUpper(entry.exe(), app)) return false;
    const std::string_view searched = entry.is_record ? entry.message() : entry.text;
    return grep.empty() || searched.find(grep) != std::string_view::npos;
  }
};

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or code points past
// U+10FFFF.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
    if (length == 0 || byte > 0xF4 || byte == 0xC0 || byte == 0xC1 || i + length > text.size()) {
      return false;
    }
    std::uint32_t code = byte & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

// A text field of a JSON line. Not UTF-8, it is written with U+FFFD for each byte that is not,
// and its exact bytes beside it in hex ("message_hex"), so nothing is lost.
void PutText(nlohmann::json& object, const std::string& key, std::string_view bytes) {
  object[key] = std::string(bytes);
  if (IsUtf8(bytes)) return;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    hex += kHex[static_cast<unsigned char>(c) >> 4];
    hex += kHex[static_cast<unsigned char>(c) & 15];
  }
  object[key + "_hex"] = hex;
}

// The message as its writer passed it: the log's CR LF line ends back to LF.
std::string MessageText(std::string_view message) {
  std::string text;
  text.reserve(message.size());
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (!(message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n')) {
      text += message[i];
    }
  }
  return text;
}

std::string IsoTime(const LogTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d",
                static_cast<long long>(t.year), t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

std::string JsonLine(const LogEntry& entry) {
  nlohmann::json object;
  object["offset"] = entry.offset;
  if (!entry.is_record) {
    object["record"] = false;
    PutText(object, "text", entry.text);
  } else {
    object["time"] = entry.time ? nlohmann::json(IsoTime(*entry.time)) : nlohmann::json();
    PutText(object, "exe", entry.exe());
    PutText(object, "message", MessageText(entry.message()));
    if (entry.torn) object["torn"] = true;
  }
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// What 'show' prints, in the order the entries come.
class Printer {
 public:
  Printer(const ShowOptions& options, Filter filter, Output& out)
      : options_(options), filter_(std::move(filter)), out_(out) {
    if (!options.last.empty()) last_ = std::stoull(options.last);
  }

  void Take(LogEntry& entry) {
    if (!filter_.Matches(entry)) return;
    if (!last_) return Print(entry);
    if (*last_ == 0) return;
    held_.push_back(std::move(entry));
    if (held_.size() > *last_) held_.pop_front();
  }

  // At the end of what the file holds now: what --last held back goes out, and from then on
  // each entry as it comes.
  void EndOfFile() {
    for (const LogEntry& entry : held_) Print(entry);
    held_.clear();
    last_.reset();
  }

  // At the end of the run: the counts, for --count. Returns the status.
  Status Finish() {
    EndOfFile();
    std::vector<std::pair<std::string, std::uint64_t>> rows(counts_.begin(), counts_.end());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    if (strays_ != 0) rows.emplace_back(kNotARecord, strays_);
    for (const auto& [exe, count] : rows) {
      char number[32];
      std::snprintf(number, sizeof number, "%7llu ", static_cast<unsigned long long>(count));
      out_.Write(number);
      out_.Line(exe);
    }
    return shown_ ? kOk : kNoResult;
  }

 private:
  void Print(const LogEntry& entry) {
    shown_ = true;
    if (options_.count) {
      if (entry.is_record) {
        ++counts_[std::string(entry.exe())];
      } else {
        ++strays_;
      }
    } else if (options_.json) {
      out_.Line(JsonLine(entry));
    } else {
      if (!entry.is_record || entry.torn) {
        out_.Flush();  // the note beside the bytes it is about
        Complain(options_.file + ", byte " + std::to_string(entry.offset) + ": " +
                 (entry.is_record ? "a record cut short" : "not a record") + ", shown as it is");
      }
      out_.Write(entry.text);
      if (entry.text.back() != '\n') out_.Write("\n");
    }
  }

  const ShowOptions& options_;
  const Filter filter_;
  Output& out_;
  std::optional<std::uint64_t> last_;
  std::deque<LogEntry> held_;
  std::map<std::string, std::uint64_t> counts_;
  std::uint64_t strays_ = 0;
  bool shown_ = false;
};

class Reader {
 public:
  Reader(const ShowOptions& options, Printer& printer, Output& out)
      : options_(options),
        printer_(printer),
        out_(out),
        parser_([&printer](LogEntry& entry) { printer.Take(entry); }),
        block_(kReadBlock) {}

  Status Run(std::optional<std::int64_t> until) {
    std::string problem;
    const int fd = OpenForReading(options_.file, &problem);
    if (fd < 0) return Unreadable(problem);
    const bool read = ReadNew(fd);
    CloseFile(fd);
    if (!read) return Unreadable(std::strerror(errno));
    if (!options_.follow) {
      parser_.Finish();
      return printer_.Finish();
    }
    parser_.PassWhole();
    printer_.EndOfFile();
    return Follow(until);
  }

 private:
  Status Unreadable(const std::string& problem) {
    Complain("cannot read " + options_.file + ": " + problem);
    return kFailed;
  }

  // Reads from the current position to the end of the file.
  bool ReadNew(int fd) {
    for (;;) {
      const long got = ReadSome(fd, block_.data(), block_.size());
      if (got < 0) return false;
      if (got == 0 || !out_.ok()) return true;  // a failed output is reported at its flush
      const std::string_view bytes(block_.data(), static_cast<std::size_t>(got));
      if (head_.size() < kHeadSize) head_.append(bytes.substr(0, kHeadSize - head_.size()));
      position_ += bytes.size();
      parser_.Feed(bytes);
    }
  }

  // Whether the file at the name is another than the one read so far: smaller than what was
  // read, or beginning with other bytes. Leaves `fd` at its start.
  bool StartedAnew(int fd) {
    if (StatFile(options_.file).size < position_) return true;
    std::string head(head_.size(), '\0');
    std::size_t have = 0;
    while (have < head.size()) {
      const long got = ReadSome(fd, &head[have], head.size() - have);
      if (got <= 0) break;
      have += static_cast<std::size_t>(got);
    }
    return have != head.size() || head != head_;
  }

  // Reopens the file at every poll, so it is never held open: whoever starts the log anew may
  // delete or rename it. With --until, ends once that time has passed: no record appended
  // later can match.
  Status Follow(std::optional<std::int64_t> until) {
    for (;;) {
      const bool last_round = until && LocalTime(std::time(nullptr)).Key() > *until;
      std::this_thread::sleep_for(kPollInterval);
      std::string problem;
      const int fd = OpenForReading(options_.file, &problem);
      if (fd >= 0) {
        if (StartedAnew(fd)) {
          parser_.Restart();
          position_ = 0;
          head_.clear();
        }
        const bool read = SeekTo(fd, position_) && ReadNew(fd);
        CloseFile(fd);
        if (!read) return Unreadable(std::strerror(errno));
        parser_.PassWhole();
      }
      if (!out_.Flush()) return kFailed;
      if (last_round) break;
    }
    parser_.Finish();
    return printer_.Finish();
  }

  const ShowOptions& options_;
  Printer& printer_;
  Output& out_;
  LogParser parser_;
  std::vector<char> block_;
  std::uint64_t position_ = 0;
  std::string head_;
};

}  // namespace

void DefineShow(CLI::App* app, ShowOptions* options) {
  app->add_option("FILE", options->file, "the log (default: " + options->file + ")")->type_name("");
  const CLI::Validator time = Check([](const std::string& value) -> std::string {
    return WhenKey(value, std::time(nullptr)) ? "" : "'" + value + "' is not a time";
  });
  app->add_option("--since", options->since, "records at TIME or later")
      ->type_name("TIME")
      ->check(time);
  app->add_option("--until", options->until, "records at TIME or earlier")
      ->type_name("TIME")
      ->check(time);
  app->add_option("--app", options->app, "records of programs whose path contains TEXT")
      ->type_name("TEXT");
  app->add_option("--grep", options->grep, "records whose message contains TEXT")
      ->type_name("TEXT");
  app->add_option("-n,--last", options->last, "only the last N that match")
      ->type_name("N")
      ->check(Check([](const std::string& value) -> std::string {
        std::uint32_t n = 0;
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, n);
        return !value.empty() && error == std::errc() && stop == end
                   ? ""
                   : "'" + value + "' is not a count";
      }));
  CLI::Option* json = app->add_flag("--json", options->json, "one JSON object per line");
  CLI::Option* count = app->add_flag("--count", options->count, "the records of each program");
  CLI::Option* follow = app->add_flag("-f,--follow", options->follow,
                                      "go on with records as they are appended, as tail -f does");
  count->excludes(json)->excludes(follow);
}

Status RunShow(const ShowOptions& options, Output& out) {
  const std::time_t now = std::time(nullptr);
  Filter filter;
  if (!options.since.empty()) filter.since = WhenKey(options.since, now);
  if (!options.until.empty()) filter.until = WhenKey(options.until, now);
  for (const char c : options.app) filter.app += Upper(c);
  filter.grep = options.grep;
  const std::optional<std::int64_t> until = filter.until;
  Printer printer(options, std::move(filter), out);
  return Reader(options, printer, out).Run(until);
}

}  // namespace zyl::tool
