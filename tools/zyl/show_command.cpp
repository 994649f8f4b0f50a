#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <utility>

#include "commands.h"
#include "cursor.h"
#include "follow.h"
#include "log_files.h"
#include "matcher.h"
#include "printers.h"
#include "system.h"

namespace zyl::tool {
namespace {

constexpr std::uint64_t kFollowLast = 10;  // as tail -f starts
constexpr int kPause = 100;                // milliseconds
// What --last holds of its records' bytes; the rest of a file's it reads again when it shows them.
constexpr std::uint64_t kHeldBytes = 32 << 20;

// The entries that match, held back for --last, on to the chosen printer.
class Shown {
 public:
  // `named`: the one file named, whose entries JSON gives without a file; empty for several.
  Shown(const Arguments& args, Matcher matcher, std::optional<std::uint64_t> last,
        std::string named, Output& out)
      : args_(args),
        matcher_(std::move(matcher)),
        last_(last),
        named_(std::move(named)),
        out_(out) {}
  ~Shown() {
    for (const auto& [file, fd] : reopened_) CloseFile(fd);
  }
  Shown(const Shown&) = delete;
  Shown& operator=(const Shown&) = delete;

  // Whether the entry was taken: shown, held, or left out by a filter.
  bool Take(LogEntry& entry, const std::string& file) {
    if (entry.time && (matcher_.since || matcher_.until || args_.json)) {
      entry.instant = instants_.Read(*entry.time);
    }
    if (!matcher_.Matches(entry) || last_ == 0u) return true;  // --last 0 shows nothing
    if (!last_) {
      Print(entry, file);
      return true;
    }
    // --last counts records: the pieces of one that follow each other go out together.
    const bool starts = entry.piece <= 1 || held_.empty() || held_.back().file != file ||
                        held_.back().entry.offset + held_.back().size() != entry.offset;
    held_.push_back({starts, std::move(entry), file});
    Hold(held_.back());
    if (starts && ++held_records_ > *last_) {
      do {
        held_bytes_ -= held_.front().entry.text.size();
        held_.pop_front();
      } while (!held_.front().starts);
      --held_records_;
    }
    return true;
  }

  // At the end of what the file holds now: what --last held back goes out, and from then on
  // each entry as it comes.
  void EndOfFile() {
    if (spill_ != nullptr) std::fflush(spill_.get());
    for (Held& held : held_) {
      if (held.reread != 0) ReadAgain(held);
      Print(held.entry, held.file);
      if (held.reread != 0) std::string().swap(held.entry.text);  // its memory too
    }
    held_.clear();
    held_bytes_ = 0;
    for (const auto& [file, fd] : reopened_) CloseFile(fd);
    reopened_.clear();
    spill_.reset();
    spilled_ = 0;
    last_.reset();
  }

  Status Finish() {
    EndOfFile();
    if (args_.count) counter_.Print(escape_, out_);
    if (open_line_ && escape_) out_.Write("\n");  // the prompt after it on a line of its own
    return shown_ ? kOk : kNoResult;
  }

 private:
  struct Held {
    bool starts;  // a record, or the first of its pieces
    LogEntry entry;
    std::string file;
    std::size_t reread = 0;  // the size of its text, let go to be read again from `fd` at `at`
    int fd = -1;
    std::uint64_t at = 0;
    std::size_t size() const { return reread != 0 ? reread : entry.text.size(); }
  };

  // Keeps the entry's bytes while they fit in kHeldBytes; beyond, a file's are read again from it,
  // and standard input's from a temporary file they are written to.
  void Hold(Held& held) {
    const std::size_t size = held.entry.text.size();
    held.fd = held_bytes_ + size <= kHeldBytes ? -1
              : held.file == "-"               ? Spill(held)
                                               : Reopened(held.file);
    if (held.fd < 0) {
      held_bytes_ += size;
      return;
    }
    if (held.file != "-") held.at = held.entry.offset;
    held.reread = size;
    std::string().swap(held.entry.text);  // its memory too
  }

  // Opened right after the read: a rotation may rename the file later, but this stays it.
  int Reopened(const std::string& file) {
    auto [at, opened] = reopened_.try_emplace(file, -1);
    std::string problem;
    if (opened) at->second = OpenForReading(file, &problem);
    return at->second;
  }

  int Spill(Held& held) {
    if (spill_ == nullptr && !spill_failed_) spill_.reset(std::tmpfile());
    const std::string& text = held.entry.text;
    if (spill_ == nullptr ||
        std::fwrite(text.data(), 1, text.size(), spill_.get()) != text.size()) {
      spill_failed_ = true;  // its end is unknown now: held in memory from here
      spill_.reset();
      return -1;
    }
    held.at = spilled_;
    spilled_ += text.size();
    return fileno(spill_.get());
  }

  void ReadAgain(Held& held) {
    std::string& text = held.entry.text;
    text.resize(held.reread);
    std::size_t got = 0;
    while (got < text.size() && (got > 0 || SeekTo(held.fd, held.at))) {
      const long n = ReadPatiently(held.fd, text.data() + got, text.size() - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (got < text.size()) {
      text.resize(got);
      Complain(held.file + ", byte " + std::to_string(held.entry.offset) +
               ": cut short while read, shown as it is now");
    }
  }

  void Print(const LogEntry& entry, const std::string& file) {
    shown_ = true;
    if (args_.count) return counter_.Add(entry);
    if (args_.json) return out_.Line(JsonLine(entry, escape_, file == named_ ? "" : file));
    // The bytes as written: a line end is added only between entries apart in the files.
    if (open_line_ && (entry.offset != end_ || file != end_file_)) out_.Write("\n");
    const std::string note = after_cut_ && !entry.is_record ? "" : NoteOn(entry, file);
    after_cut_ = entry.cut;
    if (!note.empty()) {
      out_.Flush();  // the note beside the bytes it is about
      Complain(note);
    }
    PrintText(entry, escape_, out_);
    end_ = entry.offset + entry.text.size();
    end_file_ = file;
    open_line_ = !entry.text.empty() && entry.text.back() != '\n';
  }

  const Arguments& args_;
  const Matcher matcher_;
  std::optional<std::uint64_t> last_;
  const std::string named_;
  Output& out_;
  InstantReader instants_;  // of the entries in the order taken
  std::deque<Held> held_;
  std::uint64_t held_records_ = 0;
  std::uint64_t held_bytes_ = 0;         // of the texts held
  std::map<std::string, int> reopened_;  // the files read again, by name
  struct CloseStream {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
  };
  std::unique_ptr<std::FILE, CloseStream> spill_;  // standard input's held bytes beyond
  std::uint64_t spilled_ = 0;
  bool spill_failed_ = false;
  Counter counter_;
  bool shown_ = false;
  bool after_cut_ = false;
  std::uint64_t end_ = 0;  // of the last entry printed, in its file
  std::string end_file_;
  bool open_line_ = false;  // it ended without a line end
  const bool escape_ = args_.escape == "always" || (args_.escape == "auto" && IsTerminal(1));
};

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
  Shown shown(args, matcher, last, files.size() == 1 ? files.front() : "", out);
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
