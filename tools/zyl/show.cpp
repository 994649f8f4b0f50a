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
constexpr int kPause = 100;                // milliseconds

// ASCII letters only: the log's bytes are those of some ANSI code page, unknown here.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `part` occurs in `text`; `ignore_case`: in any ASCII letter case.
bool Contains(std::string_view text, std::string_view part, bool ignore_case) {
  if (!ignore_case) return text.find(part) != std::string_view::npos;
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char a, char b) { return Upper(a) == Upper(b); }) != text.end();
}

bool ContainsAny(std::string_view text, const std::vector<std::string>& parts, bool ignore_case) {
  return std::any_of(parts.begin(), parts.end(),
                     [&](const std::string& part) { return Contains(text, part, ignore_case); });
}

// The entries that match, held back for --last, on to the chosen printer.
class Shown {
 public:
  Shown(const Arguments& args, Matcher matcher, std::optional<std::uint64_t> last, Output& out)
      : args_(args), matcher_(std::move(matcher)), last_(last), out_(out) {}

  void Take(LogEntry& entry) {
    if (!matcher_.Matches(entry) || last_ == 0u) return;  // --last 0 shows nothing
    if (!last_) return Print(entry);
    // --last counts records: the pieces of one that follow each other go out together.
    const bool starts =
        entry.piece <= 1 || held_.empty() ||
        held_.back().second.offset + held_.back().second.text.size() != entry.offset;
    held_.emplace_back(starts, std::move(entry));
    if (starts && ++held_records_ > *last_) {
      do held_.pop_front();
      while (!held_.front().first);
      --held_records_;
    }
  }

  // At the end of what the file holds now: what --last held back goes out, and from then on
  // each entry as it comes.
  void EndOfFile() {
    for (const auto& [starts, entry] : held_) Print(entry);
    held_.clear();
    last_.reset();
  }

  Status Finish() {
    EndOfFile();
    if (args_.count) counter_.Print(escape_, out_);
    if (open_line_ && escape_) out_.Write("\n");  // the prompt after it on a line of its own
    return shown_ ? kOk : kNoResult;
  }

 private:
  void Print(const LogEntry& entry) {
    shown_ = true;
    if (args_.count) return counter_.Add(entry);
    if (args_.json) return out_.Line(JsonLine(entry, escape_));
    // The bytes as written: a line end is added only between entries apart in the file.
    if (open_line_ && entry.offset != end_) out_.Write("\n");
    const std::string note = after_cut_ && !entry.is_record ? "" : NoteOn(entry, args_.file);
    after_cut_ = entry.cut;
    if (!note.empty()) {
      out_.Flush();  // the note beside the bytes it is about
      Complain(note);
    }
    PrintText(entry, escape_, out_);
    end_ = entry.offset + entry.text.size();
    open_line_ = !entry.text.empty() && entry.text.back() != '\n';
  }

  const Arguments& args_;
  const Matcher matcher_;
  std::optional<std::uint64_t> last_;
  Output& out_;
  std::deque<std::pair<bool, LogEntry>> held_;  // and whether each starts a record
  std::uint64_t held_records_ = 0;
  Counter counter_;
  bool shown_ = false;
  bool after_cut_ = false;
  std::uint64_t end_ = 0;   // of the last entry printed, in the file
  bool open_line_ = false;  // it ended without a line end
  const bool escape_ = args_.escape == "always" || (args_.escape == "auto" && IsTerminal(1));
};

Status Unreadable(const std::string& file, const std::string& problem) {
  Complain("cannot read " + file + ": " + problem);
  return kFailed;
}

}  // namespace

bool Matcher::Matches(const LogEntry& entry) const {
  if ((since || until || !apps.empty()) && !entry.is_record) return false;
  if ((since || until) && !entry.time) return false;
  if ((since && entry.time->Key() < *since) || (until && entry.time->Key() > *until)) return false;
  if (!apps.empty() && !ContainsAny(entry.exe(), apps, true)) return false;
  return greps.empty() ||
         ContainsAny(entry.is_record ? entry.message() : std::string_view(entry.text), greps,
                     ignore_case);
}

void DefineShow(CLI::App* app, Arguments* args) {
  app->add_option("FILE", args->file,
                  "the log, or - for standard input (default: " + args->file + ")")
      ->type_name("");
  static const std::string kNotTime = std::string("a time; zyl reads ") + kTimeForms;
  const CLI::Validator time = Check(kNotTime.c_str(), [](const std::string& value) {
    return !!WhenKey(value, std::time(nullptr));
  });
  app->add_option("--since", args->since, "records at TIME or later")
      ->type_name("TIME")
      ->check(time);
  app->add_option("--until", args->until, "records at TIME or earlier")
      ->type_name("TIME")
      ->check(time);
  // One value each time, as often as given.
  const auto each = CLI::MultiOptionPolicy::TakeAll;
  app->add_option("--app", args->apps, "records of programs whose path contains TEXT, or any TEXT")
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(each);
  app->add_option("--grep", args->greps, "records whose message contains TEXT, or any TEXT")
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(each);
  app->add_flag("-i,--ignore-case", args->ignore_case, "--grep in any letter case");
  app->add_option("-n,--last", args->last, "only the last N that match")
      ->type_name("N")
      ->check(Check("a count",
                    [](const std::string& value) { return !!ParseNumber<std::uint32_t>(value); }));
  CLI::Option* json = app->add_flag("--json", args->json, "one JSON object per line");
  CLI::Option* count = app->add_flag("--count", args->count, "the records of each program");
  CLI::Option* follow = app->add_flag("-f,--follow", args->follow,
                                      "go on with records as they are appended, as tail -f does");
  count->excludes(json)->excludes(follow);
  app->add_option("--escape", args->escape,
                  "control bytes as visible escapes: auto (on a terminal), always or never")
      ->type_name("WHEN")
      ->check(CLI::IsMember({"auto", "always", "never"}));
}

Status RunShow(const Arguments& args, Output& out) {
  const auto when = [now = std::time(nullptr)](const std::string& text) {
    return text.empty() ? std::nullopt : WhenKey(text, now);
  };
  const Matcher matcher{when(args.since), when(args.until), args.apps, args.greps,
                        args.ignore_case};
  std::optional<std::uint64_t> last;
  if (!args.last.empty()) last = *ParseNumber<std::uint32_t>(args.last);
  if (args.follow && !last && !matcher.since) last = kFollowLast;
  Shown shown(args, matcher, last, out);
  RecordReader reader([&shown](LogEntry& entry) { shown.Take(entry); });

  const bool from_stdin = args.file == "-";  // read to its end, never followed
  std::string problem;
  const int fd = from_stdin ? 0 : OpenForReading(args.file, &problem);
  if (fd < 0) return Unreadable(args.file, problem);
  // What is whole goes out before zyl waits for more: `tail -f app.log | zyl show -` shows each
  // record as it comes. SendDebugMsg appends a record in one write; another writer may pause
  // between the lines of one, so a record counts as whole once the input has paused a moment.
  const long long fed = FeedFrom(
      fd, reader, [&out] { return out.ok(); },
      [&] {
        out.Flush();
        if (AwaitInput(fd, kPause)) return;
        reader.PassWhole();
        out.Flush();
      });
  const int error = errno;
  if (!from_stdin) CloseFile(fd);
  if (fed < 0) return Unreadable(args.file, std::strerror(error));
  if (args.follow && !from_stdin) {
    reader.PassWhole();
    shown.EndOfFile();
    const Status followed =
        Follow(args.file, static_cast<std::uint64_t>(fed), matcher.until, reader, out);
    if (followed != kOk) return followed;
  }
  reader.Finish();
  return shown.Finish();
}

}  // namespace zyl::tool
