#ifndef ZYL_TOOLS_ZYL_READER_LOG_FILES_H_
#define ZYL_TOOLS_ZYL_READER_LOG_FILES_H_

// A log and its generations read as one stream: the generations oldest first, then the log. Each
// file is known by its identity, not its name, so a rotation's rename neither repeats an entry nor
// skips one, however many rotations happen between two looks.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cursor.h"
#include "diag/log_generations.h"
#include "record_reader.h"

namespace zyl::tool {

class LogFiles {
 public:
  // Gets each entry and the name of the file it is in; false when it did not take the entry, which
  // then stays for a later run.
  using Sink = std::function<bool(LogEntry& entry, const std::string& file)>;

  // The generations of a log that its folder lists now: ListGenerations, or a test's.
  using Lister = std::function<std::vector<Generation>(std::string_view log)>;

  // `follow`: files are read on at the next look, so an entry at the end of one passes on only
  // once it is whole, and a log that does not exist yet is waited for; otherwise each file's last
  // entry passes on at its end.
  LogFiles(std::string log, bool follow, Sink sink, Lister lister = ListGenerations);
  ~LogFiles();
  LogFiles(const LogFiles&) = delete;
  LogFiles& operator=(const LogFiles&) = delete;

  // The next look goes on from where `cursor` left this log: the files it names, found by their
  // identity, from their offsets; generations newer than it knew and a new log from their start.
  void Resume(const Cursor& cursor);

  // Reads what every file holds past what was read and passes on its entries. A generation is read
  // on for 5 seconds after it last grew, however many come after it, for a writer that appended
  // to the log just as it was renamed; a generation number that a listing missed below one it
  // showed is looked for as long. The folder is listed only when a rotation may have come since
  // the last look (the log's name names another file, or none), and while such a number is looked
  // for; otherwise the files already tracked are read by their names. Only regular files are
  // generations: anything else at such a name is skipped, said once on standard error. `go_on`: as
  // FeedFrom's. False, with "FILE: why" in `problem`, when a file cannot be read; a file that
  // cannot be opened counts only at the first look (a missing log only when there is no generation
  // either and it is not followed), and is looked for again at the next.
  bool Look(std::string* problem, const std::function<bool()>& go_on);

  // The end: passes on the entries in progress, torn when cut short.
  void Finish();

  // Adds where reading stands to `cursor`.
  void Keep(Cursor& cursor) const;

 private:
  using Clock = std::chrono::steady_clock;
  struct File;

  enum class Read { kDone, kSkipped, kUnopened, kFailed };
  Read ReadFile(const std::string& path, std::uint64_t generation, std::string* problem,
                const std::function<bool()>& go_on);
  bool ListingDue();
  std::vector<Generation> Tracked() const;
  File* Find(const platform::FileId& id, std::uint64_t generation);
  File* Track(const platform::FileId& id, std::uint64_t offset, std::string head);
  void Settle(Clock::time_point now);
  void Forget(Clock::time_point now);

  std::string log_;
  bool follow_;
  Sink sink_;
  Lister list_;
  std::vector<std::unique_ptr<File>> files_;
  std::vector<FilePlace> resume_;  // cursor places not found yet (of every log it names)
  Clock::time_point resumed_;
  // Every generation number up to `newest_` is accounted for: read, or older than where reading
  // started. Above it, those read, and since when.
  std::uint64_t newest_ = 0;
  std::map<std::uint64_t, Clock::time_point> seen_;
  std::set<std::string> strangers_;  // names said to be no regular file
  bool looked_ = false;
  bool list_due_ = true;  // the next look lists the folder whatever the log's name names
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_LOG_FILES_H_
