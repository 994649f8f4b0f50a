#include "log_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "diag/log_generations.h"
#include "system.h"

namespace zyl::tool {
namespace {

// How long a generation is read on after it last grew or was the log. A writer that opened the
// log just before the rename appends to the generation; on Windows one may do so after waiting a
// second for the lock. Past this a late append is not looked for.
constexpr auto kGrace = std::chrono::seconds(5);
// At most this many generations are read on at once: the newest, as rotations come in a burst.
constexpr std::size_t kMostRecent = 8;

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
  std::uint64_t read = 0;    // bytes fed to `reader`
  std::uint64_t passed = 0;  // past the last entry the sink took
  std::string head;
  bool is_log = false;       // the one the log's name named at the last look
  Clock::time_point active;  // when it last grew or was the log
  std::unique_ptr<RecordReader> reader;
};

LogFiles::LogFiles(std::string log, bool follow, Sink sink)
    : log_(std::move(log)), follow_(follow), sink_(std::move(sink)) {}

LogFiles::~LogFiles() = default;

void LogFiles::Resume(const Cursor& cursor) {
  resume_ = cursor.files;
  const auto it = cursor.newest.find(log_);
  newest_ = it != cursor.newest.end() ? it->second : 0;
}

bool LogFiles::Look(std::string* problem, const std::function<bool()>& go_on) {
  const std::vector<Generation> generations = ListGenerations(log_);
  std::uint64_t newest = newest_;
  const auto read = [&](const std::string& path, std::uint64_t generation) {
    std::string why;
    const Read result = ReadFile(path, generation, &why, go_on);
    // A generation removed after the listing is no loss: it was read, or is history.
    const bool counts = result == Read::kFailed ||
                        (result == Read::kUnopened && !looked_ &&
                         (StatFile(path).exists || (generation == 0 && generations.empty())));
    if (counts) *problem = path + ": " + why;
    return !counts;
  };
  for (const Generation& generation : generations) {
    if (!read(generation.path, generation.number)) return false;
    newest = std::max(newest, generation.number);
  }
  if (!read(log_, 0)) return false;
  newest_ = newest;  // after the reads: each compared its number with the newest before this look
  looked_ = true;
  // After a stop, files may hold entries not passed on, or not be read at all: the cursor must
  // keep naming them.
  if (!go_on || go_on()) Forget(Clock::now());
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
}

// A file is read on when its identity is known; otherwise from its start when it is newer than
// anything read so far (a generation numbered above the newest, or the log); otherwise it is
// history: read before, or older than where reading started.
LogFiles::Read LogFiles::ReadFile(const std::string& path, std::uint64_t generation,
                                  std::string* problem, const std::function<bool()>& go_on) {
  const int fd = OpenForReading(path, problem);
  if (fd < 0) return Read::kUnopened;
  const std::optional<OpenFileStatus> status = StatOpenFile(fd);
  File* file = nullptr;
  if (status) {
    const auto known = std::find_if(files_.begin(), files_.end(),
                                    [&](const auto& f) { return f->id == status->id; });
    const auto resumed = std::find_if(resume_.begin(), resume_.end(),
                                      [&](const FilePlace& p) { return p.id == status->id; });
    if (known != files_.end()) {
      file = known->get();
    } else if (resumed != resume_.end()) {
      file = Track(status->id, resumed->offset, resumed->head);
      resume_.erase(resumed);
    } else if (generation == 0 || generation > newest_) {
      file = Track(status->id, 0, {});
    }
  } else {
    *problem = "cannot tell which file it is";
  }
  if (file == nullptr) {
    CloseFile(fd);
    return status ? Read::kSkipped : Read::kFailed;
  }
  const Clock::time_point now = Clock::now();
  file->name = path;
  if (generation == 0) {
    for (const auto& other : files_) other->is_log = false;
    file->is_log = true;
    file->active = now;
  }
  if (status->size < file->read || ReadHead(fd, file->head.size()) != file->head) {
    file->reader->Restart();  // truncated, or written anew: from its start
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
        if (sink_(entry, file->name)) file->passed = entry.offset + entry.text.size();
      },
      offset);
  files_.push_back(std::move(owned));
  return file;
}

// Generations that stopped growing are left as they are, the oldest first beyond the most read
// on at once; the entry in progress at the end of one passes on.
void LogFiles::Forget(Clock::time_point now) {
  std::size_t recent = static_cast<std::size_t>(
      std::count_if(files_.begin(), files_.end(), [](const auto& f) { return !f->is_log; }));
  for (auto it = files_.begin(); it != files_.end();) {
    File& file = **it;
    if (!file.is_log && (now - file.active > kGrace || recent > kMostRecent)) {
      file.reader->Finish();
      --recent;
      it = files_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace zyl::tool
