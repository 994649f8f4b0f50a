#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <memory>

#include "commands.h"
#include "cursor.h"
#include "follow.h"
#include "log_files.h"
#include "matcher.h"
#include "shown.h"
#include "system.h"

namespace zyl::tool {
namespace {

constexpr std::uint64_t kFollowLast = 10;  // as tail -f starts
constexpr int kPause = 100;                // milliseconds

Status Unreadable(const std::string& file, const std::string& problem) {
  Complain("cannot read " + file + ": " + problem);
  return kFailed;
}

Status Unwritable(const std::string& file, const std::string& problem) {
  Complain("cannot write " + file + ": " + problem);
  return kFailed;
}

}  // namespace

Status RunShow(const Arguments& args, Output& out) {
  const auto when = [now = std::time(nullptr)](const std::string& text) {
    return text.empty() ? std::nullopt : WhenInstant(text, now);
  };
  const Matcher matcher{when(args.since), when(args.until), args.apps, args.greps,
                        args.ignore_case};
  const std::vector<std::string> files = args.files.empty() ? std::vector{args.file} : args.files;
  std::optional<Cursor> cursor;
  std::string problem;
  if (!args.cursor_file.empty() && !LoadCursor(args.cursor_file, &cursor, &problem)) {
    return Unreadable(args.cursor_file, problem);
  }
  std::optional<std::uint64_t> last;
  if (!args.last.empty()) last = *ParseNumber<std::uint32_t>(args.last);
  if (args.follow && !last && !matcher.since && !cursor) last = kFollowLast;
  if (args.follow) CatchStopRequests();
  const ShowStyle style{args.count, args.json,
                        args.escape == "always" || (args.escape == "auto" && IsTerminal(1))};
  Shown shown(style, matcher, last, files.size() == 1 ? files.front() : "", out);
  const auto go_on = [&out] { return out.ok() && !StopRequested(); };

  // Each file named with its generations, in the order given; standard input read to its end.
  std::vector<std::unique_ptr<LogFiles>> logs;
  for (const std::string& file : files) {
    if (file == "-") {
      RecordReader reader([&shown](LogEntry& entry) { shown.Take(entry, "-"); });
      // What is whole goes out before zyl waits for more: `tail -f app.log | zyl show -` shows
      // each record as it comes. SendDebugMsg appends a record in one write; another writer may
      // pause between the lines of one, so a record counts as whole once the input has paused.
      const long long fed = FeedFrom(0, reader, go_on, [&] {
        out.Flush();
        if (AwaitInput(0, kPause)) return;
        reader.PassWhole();
        out.Flush();
      });
      if (fed < 0) return Unreadable(file, std::strerror(errno));
      reader.Finish();
      continue;
    }
    logs.push_back(std::make_unique<LogFiles>(
        file, args.follow,
        [&shown](LogEntry& entry, const std::string& name) { return shown.Take(entry, name); }));
    if (cursor) logs.back()->Resume(*cursor);
    if (!logs.back()->Look(&problem, go_on)) {
      Complain("cannot read " + problem);
      return kFailed;
    }
  }
  shown.EndOfFile();
  // The cursor moves only past what went out.
  std::string kept;
  const auto looked = [&]() -> Status {
    if (!out.Flush()) return kFailed;
    if (args.cursor_file.empty()) return kOk;
    Cursor now;
    for (const auto& log : logs) log->Keep(now);
    if (const std::string text = CursorText(now); text != kept) {
      if (!SaveCursor(args.cursor_file, now, &problem))
        return Unwritable(args.cursor_file, problem);
      kept = text;
    }
    return kOk;
  };
  Status status = looked();
  // A follower killed outright shows again only what went out since the cursor last moved: it
  // moves after every block, not only after a look. A failure to save shows at the next look.
  out.AfterBlock([&] { looked(); });
  if (status == kOk && args.follow && !logs.empty()) {
    status = Follow(logs, matcher.until, go_on, looked);
  }
  if (status != kOk) return status;
  // At a stop the record in progress is left for the next run, whole.
  if (!StopRequested()) {
    for (const auto& log : logs) log->Finish();
  }
  status = shown.Finish();
  // What the end of the files completed went out too: the cursor moves past it.
  if (!StopRequested() && status != kFailed) {
    if (const Status saved = looked(); saved != kOk) return saved;
  }
  return StopRequested() ? kOk : status;
}

}  // namespace zyl::tool
