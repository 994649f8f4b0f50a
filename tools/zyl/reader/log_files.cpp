#include "log_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "output.h"
#include "system.h"

namespace zyl::tool {
namespace {

// How long a generation is read on after it last grew or was the log. A writer that opened the
// log just before the rename appends to the generation; on Windows one may do so after waiting a
// second for the lock. Past this a late append is not looked for.
constexpr auto kGrace = std::chrono::seconds(5);

// Up to `size` bytes from the start of `fd`.
std::string ReadHead(int fd, std::size_t size) {
  std::string head(size, '\0');
  const long got = SeekTo(fd, 0) ? ReadSome(fd, head.data(), size) : -1;
  head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);  // a file reads whole, up to `size`
  return head;
}

}  // namespace

struct LogFiles::File {
  platform::FileId id;
  std::string name;
  std::uint64_t generation = 0;  // its number at the last look; 0: the log, or not listed
  std::uint64_t read = 0;        // bytes fed to `reader`
  std::uint64_t passed = 0;      // past the last entry the sink took
  std::string head;
  bool is_log = false;       // the one the log's name named at the last look
  Clock::time_point active;  // when it last grew or was the log
  std::unique_ptr<RecordReader> reader;
};

LogFiles::LogFiles(std::string log, bool follow, Sink sink, Lister lister)
    : log_(std::move(log)), follow_(follow), sink_(std::move(sink)), list_(std::move(lister)) {}

LogFiles::~LogFiles() = default;

void LogFiles::Resume(const Cursor& cursor) {
  resume_ = cursor.files;
  resumed_ = Clock::now();
  list_due_ = true;
  const auto it = cursor.newest.find(log_);
  newest_ = it != cursor.newest.end() ? it->second : 0;
}

bool LogFiles::Look(std::string* problem, const std::function<bool()>& go_on) {
  const std::vector<Generation> generations = ListingDue() ? list_(log_) : Tracked();
  const auto read = [&](const std::string& path, std::uint64_t generation) {
    std::string why;
    const Read result = ReadFile(path, generation, &why, go_on);
    // A generation removed after the listing is no loss: it was read, or is history. A followed
    // log is waited for, as tail -F does; between a rotation and the next record there is none.
    bool counts = result == Read::kFailed;
    if (result == Read::kUnopened && !looked_) {
      const bool exists = StatFile(path).exists, alone = generation == 0 && generations.empty();
      if (generation != 0 || !follow_) counts = exists || alone;
      if (generation == 0 && follow_ && (exists || alone)) {
        Complain("cannot read " + path + ": " + why + "; waiting for it");
      }
    }
    if (counts) {
      *problem = path + ": " + why;
      list_due_ = true;  // the files after it were not read: the next look lists them
    }
    return !counts;
  };
  for (const Generation& generation : generations) {
    if (!read(generation.path, generation.number)) return false;
  }
  if (!read(log_, 0)) return false;
  looked_ = true;
  // After a stop, files may hold entries not passed on, or not be read at all: the cursor must
  // keep naming them.
  if (!go_on || go_on()) {
    const Clock::time_point now = Clock::now();
    Settle(now);
    Forget(now);
  }
  return true;
}

void LogFiles::Finish() {
  for (const auto& file : files_) file->reader->Finish();
}

void LogFiles::Keep(Cursor& cursor) const {
  cursor.newest[log_] = newest_;
  for (const auto& file : files_) {
    cursor.files.push_back({file->id, file->passed, file->head, file->name});
  }
  // A place not found yet (a listing may have missed its name) waits for the next run too, for
  // as long as it may still come.
  if (Clock::now() - resumed_ > kGrace) return;
  for (const FilePlace& place : resume_) {
    if (place.name == log_ || GenerationNumber(log_, place.name) != 0) {
      cursor.files.push_back(place);
    }
  }
}

LogFiles::Read LogFiles::ReadFile(const std::string& path, std::uint64_t generation,
                                  std::string* problem, const std::function<bool()>& go_on) {
  // The log's name may be a link an administrator set; a generation's is not followed.
  bool stranger = false;
  const int fd =
      generation == 0 ? OpenForReading(path, problem) : OpenRegularFile(path, problem, &stranger);
  if (stranger && strangers_.insert(path).second) {
    Complain(path + " is " + *problem + ", not a generation of the log: skipped");
  }
  if (fd < 0) return stranger ? Read::kSkipped : Read::kUnopened;
  const std::optional<OpenFileStatus> status = StatOpenFile(fd);
  File* const file = status ? Find(status->id, generation) : nullptr;
  if (!status) *problem = "cannot tell which file it is";
  if (file == nullptr) {
    CloseFile(fd);
    return status ? Read::kSkipped : Read::kFailed;
  }
  const Clock::time_point now = Clock::now();
  file->name = path;
  file->generation = generation;
  if (generation == 0) {
    // The file that was the log may have been renamed after the listing, or before a look that
    // listed none: the next look lists.
    list_due_ |= !file->is_log;
    for (const auto& other : files_) other->is_log = false;
    file->is_log = true;
    file->active = now;
  }
  if (status->size < file->read || ReadHead(fd, file->head.size()) != file->head) {
    // Truncated, or written anew: from its start. A new log with a removed one's identity may
    // have come by rotations, which the next look lists.
    list_due_ |= generation == 0;
    file->reader->Restart();
    file->read = file->passed = 0;
    file->head.clear();
  }
  const long long fed = SeekTo(fd, file->read) ? FeedFrom(fd, *file->reader, go_on) : -1;
  const int error = errno;
  if (fed > 0) {
    file->read += static_cast<std::uint64_t>(fed);
    file->active = now;
    if (file->head.size() < kHeadSize)
      file->head = ReadHead(fd, std::min<std::uint64_t>(kHeadSize, file->read));
  }
  CloseFile(fd);
  if (fed < 0) {
    *problem = std::strerror(error);
    return Read::kFailed;
  }
  // Stopped within the file: what was read may end within a record, which the next run reads.
  if (go_on && !go_on()) return Read::kDone;
  if (follow_) {
    file->reader->PassWhole();
  } else {
    file->reader->Finish();
  }
  return Read::kDone;
}

// A listing reads the whole folder. New generations come only by renaming the log, and a
// generation keeps its name until it is removed: while the log's name names the file read as the
// log, the generations to read are those already tracked. A listing may have missed a number
// that one above it was seen with, as long as that is looked for (Settle).
bool LogFiles::ListingDue() {
  if (std::exchange(list_due_, false) || !seen_.empty()) return true;
  const auto log =
      std::find_if(files_.begin(), files_.end(), [](const auto& f) { return f->is_log; });
  const std::optional<platform::FileId> id = platform::IdOfPath(log_.c_str());
  return log == files_.end() || !id || !(*id == (*log)->id);
}

std::vector<Generation> LogFiles::Tracked() const {
  std::vector<Generation> tracked;
  for (const auto& file : files_) {
    if (file->generation != 0) tracked.push_back({file->generation, file->name});
  }
  std::sort(tracked.begin(), tracked.end(),
            [](const Generation& a, const Generation& b) { return a.number < b.number; });
  return tracked;
}

// A file is read on when its identity is known; otherwise from its start when it is newer than
// anything read so far (a generation numbered above the newest accounted for and not read yet, or
// the log); otherwise it is history: read before, or older than where reading started.
LogFiles::File* LogFiles::Find(const platform::FileId& id, std::uint64_t generation) {
  const bool unseen = generation > newest_ && seen_.emplace(generation, Clock::now()).second;
  const auto known =
      std::find_if(files_.begin(), files_.end(), [&](const auto& f) { return f->id == id; });
  if (known != files_.end()) return known->get();
  const auto resumed =
      std::find_if(resume_.begin(), resume_.end(), [&](const FilePlace& p) { return p.id == id; });
  if (resumed != resume_.end()) {
    File* const file = Track(id, resumed->offset, resumed->head);
    resume_.erase(resumed);
    return file;
  }
  return generation == 0 || unseen ? Track(id, 0, {}) : nullptr;
}

LogFiles::File* LogFiles::Track(const platform::FileId& id, std::uint64_t offset,
                                std::string head) {
  auto owned = std::make_unique<File>();
  File* file = owned.get();
  file->id = id;
  file->read = file->passed = offset;
  file->head = std::move(head);
  file->active = Clock::now();
  file->reader = std::make_unique<RecordReader>(
      [this, file](LogEntry& entry) {
        const std::uint64_t end = entry.offset + entry.text.size();  // the sink may move it
        if (sink_(entry, file->name)) file->passed = end;
      },
      offset);
  files_.push_back(std::move(owned));
  return file;
}

// A listing taken while names change may miss one below a number it shows: a number not read is
// given up on once the window has passed since one above it was first read.
void LogFiles::Settle(Clock::time_point now) {
  for (const auto& [number, since] : seen_) {
    if (now - since > kGrace) newest_ = std::max(newest_, number);
  }
  seen_.erase(seen_.begin(), seen_.upper_bound(newest_));
}

// Generations that stopped growing are left as they are once their number is accounted for (the
// cursor then needs them no more); the entry in progress at the end of one passes on.
void LogFiles::Forget(Clock::time_point now) {
  for (auto it = files_.begin(); it != files_.end();) {
    File& file = **it;
    if (!file.is_log && now - file.active > kGrace && file.generation <= newest_) {
      file.reader->Finish();
      it = files_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace zyl::tool
