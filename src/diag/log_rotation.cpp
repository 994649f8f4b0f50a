#include "diag/log_rotation.h"

#include <algorithm>

#include "diag/retry.h"
#include "text/number.h"

namespace zyl {
namespace {

// Whether `path` still names the file `file` is open on: after a rotation it names another one,
// or none until the next record.
bool NamesFile(const char* path, const platform::AppendFile& file) {
  const std::optional<platform::FileId> open = platform::IdOfFile(file);
  return open.has_value() && open == platform::IdOfPath(path);
}

// Waits for the lock OpenForAppend found another process holding, within the retry's bound; past
// it the record goes out unlocked: a small chance of interleaving with a writer that ignores the
// bound is better than a lost record. Windows refuses a write into a range another process has
// locked, so a record whose end of file stays locked beyond the bound is lost all the same.
[[gnu::noinline]] void AwaitAppendLock(platform::AppendFile* file) {
  file->lock = RetryWhileBusy([file] { return platform::TryLockAppends(*file); });
}

platform::AppendFile OpenLog(const char* path, bool existing_only = false) {
  platform::AppendFile file = platform::OpenForAppend(path, existing_only);
  if (file.lock == platform::Try::kBusy) AwaitAppendLock(&file);
  return file;
}

bool LockForRotation(const platform::AppendFile& file) {
  return RetryWhileBusy([&file] { return platform::TryLockForRotation(file); }) ==
         platform::Try::kDone;
}

// AppendRecord with the bookkeeping of a rotation or a read-back: where the record ends, and
// when `place` is given, in which file.
AppendResult AppendMeasured(const char* path, std::string_view record,
                            const std::optional<RotationPolicy>& policy,
                            std::optional<RecordPlace>* place) {
  platform::AppendFile file = OpenLog(path);
  // Under the append's lock the size tells where the record will end. A log already at the size
  // that its name no longer names was rotated by the writer this one waited for: the record goes
  // to the new log instead of behind the generation's last record.
  std::optional<std::uint64_t> before;
  for (int reopened = 0; file.lock == platform::Try::kDone; ++reopened) {
    before = platform::FileSize(file);
    if (!policy || !before || *before < policy->size || reopened == kRaceAttempts ||
        NamesFile(path, file)) {
      break;
    }
    platform::CloseFile(file);
    file = OpenLog(path);
    before.reset();
  }
  if (file.handle == -1) return {};
  AppendResult result;
  result.whole = platform::AppendWhole(file, record);
  std::optional<std::uint64_t> end;
  if (result.whole) end = before ? *before + record.size() : platform::AppendEnd(file);
  if (place != nullptr && end) {
    if (const std::optional<platform::FileId> id = platform::IdOfFile(file)) {
      *place = RecordPlace{*id, *end};
    }
  }
  // One writer rotates: the first to take the lock while the log's name still names the file.
  // The others find it names another file and leave it be. A failed rename leaves the record in
  // the log, and a later record tries again.
  if (policy && end && *end >= policy->size && LockForRotation(file) && NamesFile(path, file)) {
    result.rotation_problem = Rotate(path, policy->keep).problem;
  }
  platform::CloseFile(file);
  return result;
}

}  // namespace

std::optional<RotationPolicy> ParseRotation(std::string_view value) {
  const std::size_t comma = value.find(',');
  std::string_view size_text = value.substr(0, comma);
  int shift = 0;
  if (!size_text.empty()) {
    switch (size_text.back()) {
      case 'K':
      case 'k':
        shift = 10;
        break;
      case 'M':
      case 'm':
        shift = 20;
        break;
      case 'G':
      case 'g':
        shift = 30;
        break;
    }
    if (shift != 0) size_text.remove_suffix(1);
  }
  const std::optional<std::uint64_t> size = ParseNumber<std::uint64_t>(size_text);
  if (!size || *size == 0 || *size > (UINT64_MAX >> shift)) return std::nullopt;
  RotationPolicy policy{*size << shift};
  if (comma != value.npos) {
    const std::optional<std::uint64_t> keep = ParseNumber<std::uint64_t>(value.substr(comma + 1));
    if (!keep || *keep == 0 || *keep > SIZE_MAX) return std::nullopt;
    policy.keep = static_cast<std::size_t>(*keep);
  }
  return policy;
}

RotationSetting RotationFromEnvironment() {
  // Read per record, as DEBUG is: a host may set it after loading the library. Longer values do
  // not fit and are not read.
  char value[64];
  const std::size_t length = platform::EnvironmentValue(kRotateVariable, value, sizeof value);
  if (length == 0) return {};
  if (length >= sizeof value) return {true, std::nullopt};
  return {true, ParseRotation({value, length})};
}

bool AppendRecord(const char* path, std::string_view record) {
  const std::optional<RotationPolicy> policy = RotationFromEnvironment().policy;
  if (policy) return AppendMeasured(path, record, policy, nullptr).whole;
  const platform::AppendFile file = OpenLog(path);
  if (file.handle == -1) return false;
  const bool whole = platform::AppendWhole(file, record);
  platform::CloseFile(file);
  return whole;
}

AppendResult AppendRecordAndPlace(const char* path, std::string_view record) {
  std::optional<RecordPlace> place;
  AppendResult result = AppendMeasured(path, record, RotationFromEnvironment().policy, &place);
  result.place = place;
  return result;
}

Rotation RotateNow(const std::string& path, std::size_t keep) {
  Rotation rotation;
  platform::AppendFile file;
  // A writer's rotation leaves no log until its next record: a log found meanwhile is opened.
  for (int attempt = 0; attempt < kRaceAttempts; ++attempt) {
    file = OpenLog(path.c_str(), true);
    if (file.handle != -1) break;
    rotation.problem = platform::LastErrorText();
    if (!platform::IdOfPath(path.c_str())) return {};  // no log: nothing to do
  }
  if (file.handle == -1) return rotation;
  rotation.problem.clear();
  const std::optional<std::uint64_t> size = platform::FileSize(file);
  if (!LockForRotation(file)) {
    rotation.problem = "another process holds its lock";
  } else if (!NamesFile(path.c_str(), file)) {
    // Another rotation renamed it meanwhile: it is a generation now, or removed already.
    rotation.elsewhere = true;
    // Looked for from the newest, which it most likely became.
    if (const std::optional<platform::FileId> id = platform::IdOfFile(file)) {
      const std::vector<Generation> generations = ListGenerations(path);
      const auto it = std::find_if(generations.rbegin(), generations.rend(), [&](const auto& g) {
        return id == platform::IdOfPath(g.path.c_str());
      });
      if (it != generations.rend()) rotation.generation = it->path;
    }
  } else if (!size) {
    rotation.problem = platform::LastErrorText();
  } else if (*size > 0) {
    rotation = Rotate(path, keep);
  }
  platform::CloseFile(file);
  return rotation;
}

}  // namespace zyl
