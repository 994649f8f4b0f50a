#include "show.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <utility>

#include "commands.h"
#include "system.h"

namespace zyl::tool {
namespace {

constexpr std::uint64_t kFollowLast = 10;  // as tail -f starts

// ASCII letters only: the log's bytes are those of some ANSI code page, unknown here.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `part` occurs in `text`; `ignore_case`: in any ASCII letter case.
bool Contains(std::string_view text, std::string_view part, bool ignore_case) {
  if (!ignore_case) return text.find(part) != std::string_view::npos;
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char a, char b) { return Upper(a) == Upper(b); }) != text.end();
}

// The entries that match, held back for --last, on to the chosen printer.
class Shown {
 public:
  Shown(const ShowOptions& options, Matcher matcher, std::optional<std::uint64_t> last, Output& out)
      : options_(options),
        matcher_(std::move(matcher)),
        last_(last),
        out_(out),
        escape_(options.escape == "always" || (options.escape == "auto" && IsTerminal(1))) {}

  void Take(LogEntry& entry) {
    if (!matcher_.Matches(entry)) return;
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

  Status Finish() {
    EndOfFile();
    if (options_.count) counter_.Print(escape_, out_);
    return shown_ ? kOk : kNoResult;
  }

 private:
  void Print(const LogEntry& entry) {
    shown_ = true;
    if (options_.count) return counter_.Add(entry);
    if (options_.json) return out_.Line(JsonLine(entry));
    const std::string note = after_cut_ ? "" : NoteOn(entry, options_.file);
    after_cut_ = entry.cut;
    if (!note.empty()) {
      out_.Flush();  // the note beside the bytes it is about
      Complain(note);
    }
    PrintText(entry, escape_, out_);
  }

  const ShowOptions& options_;
  const Matcher matcher_;
  std::optional<std::uint64_t> last_;
  Output& out_;
  std::deque<LogEntry> held_;
  Counter counter_;
  bool shown_ = false;
  bool after_cut_ = false;
  const bool escape_;
};

Status Unreadable(const std::string& file, const std::string& problem) {
  Complain("cannot read " + file + ": " + problem);
  return kFailed;
}

}  // namespace

bool Matcher::Matches(const LogEntry& entry) const {
  if ((since || until || !app.empty()) && !entry.is_record) return false;
  if (since || until) {
    if (!entry.time) return false;
    const std::int64_t key = entry.time->Key();
    if ((since && key < *since) || (until && key > *until)) return false;
  }
  if (!app.empty() && !Contains(entry.exe(), app, true)) return false;
  return grep.empty() || Contains(entry.is_record ? entry.message() : std::string_view(entry.text),
                                  grep, ignore_case);
}

void DefineShow(CLI::App* app, ShowOptions* options) {
  app->add_option("FILE", options->file,
                  "the log, or - for standard input (default: " + options->file + ")")
      ->type_name("");
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
  app->add_flag("-i,--ignore-case", options->ignore_case, "--grep in any letter case");
  app->add_option("-n,--last", options->last, "only the last N that match")
      ->type_name("N")
      ->check(Check([](const std::string& value) -> std::string {
        return ParseNumber<std::uint32_t>(value) ? "" : "'" + value + "' is not a count";
      }));
  CLI::Option* json = app->add_flag("--json", options->json, "one JSON object per line");
  CLI::Option* count = app->add_flag("--count", options->count, "the records of each program");
  CLI::Option* follow = app->add_flag("-f,--follow", options->follow,
                                      "go on with records as they are appended, as tail -f does");
  count->excludes(json)->excludes(follow);
  app->add_option("--escape", options->escape,
                  "control bytes as visible escapes: auto (on a terminal), always or never")
      ->type_name("WHEN")
      ->check(CLI::IsMember({"auto", "always", "never"}));
}

Status RunShow(const ShowOptions& options, Output& out) {
  const std::time_t now = std::time(nullptr);
  Matcher matcher;
  if (!options.since.empty()) matcher.since = WhenKey(options.since, now);
  if (!options.until.empty()) matcher.until = WhenKey(options.until, now);
  matcher.app = options.app;
  matcher.grep = options.grep;
  matcher.ignore_case = options.ignore_case;
  std::optional<std::uint64_t> last;
  if (!options.last.empty()) last = *ParseNumber<std::uint32_t>(options.last);
  if (options.follow && !last && !matcher.since) last = kFollowLast;
  Shown shown(options, matcher, last, out);
  RecordReader reader([&shown](LogEntry& entry) { shown.Take(entry); });

  const bool from_stdin = options.file == "-";  // read to its end, never followed
  std::string problem;
  const int fd = from_stdin ? 0 : OpenForReading(options.file, &problem);
  if (fd < 0) return Unreadable(options.file, problem);
  const long long fed = FeedFrom(fd, reader, [&out] { return out.ok(); });
  const int error = errno;
  if (!from_stdin) CloseFile(fd);
  if (fed < 0) return Unreadable(options.file, std::strerror(error));
  if (options.follow && !from_stdin) {
    reader.PassWhole();
    shown.EndOfFile();
    const Status followed =
        Follow(options.file, static_cast<std::uint64_t>(fed), matcher.until, reader, out);
    if (followed != kOk) return followed;
  }
  reader.Finish();
  return shown.Finish();
}

}  // namespace zyl::tool
