#include <CLI/CLI.hpp>

#include "commands.h"
#include "diag/log_generations.h"
#include "diag/log_record.h"
#include "diag/log_rotation.h"
#include "diag/retry.h"
#include "platform/platform.h"
#include "record_reader.h"
#include "system.h"

namespace zyl::tool {
namespace {

// The record SendDebugMsg would append for `message` now.
std::string BuildRecord(const std::string& message) {
  const std::string_view newline = platform::TextNewline();
  std::string record(log_record::kHeadBound + (message.size() + 1) * newline.size(), '\0');
  const char* end =
      log_record::PutRecord(platform::CalendarTime(), message, newline, record.data());
  record.resize(static_cast<std::size_t>(end - record.data()));
  return record;
}

// `size` bytes of `fd` from `offset`; shorter when the file ends first.
std::string ReadAt(int fd, std::uint64_t offset, std::size_t size) {
  std::string bytes(size, '\0');
  std::size_t got = 0;
  while (got < size && SeekTo(fd, offset + got)) {
    const long read = ReadPatiently(fd, bytes.data() + got, size - got);
    if (read <= 0) break;
    got += static_cast<std::size_t>(read);
  }
  bytes.resize(got);
  return bytes;
}

enum class Found { kSame, kOther, kNoFile };

// Whether the file with the identity in `place` is at `path`, and holds `record` just before its
// end offset.
Found LookAt(const std::string& path, const RecordPlace& place, std::string_view record) {
  std::string problem;
  const int fd = OpenForReading(path, &problem);
  if (fd < 0) return Found::kNoFile;
  const std::optional<OpenFileStatus> status = StatOpenFile(fd);
  Found found = Found::kNoFile;
  if (status && status->id == place.file) {
    found =
        place.end >= record.size() && ReadAt(fd, place.end - record.size(), record.size()) == record
            ? Found::kSame
            : Found::kOther;
  }
  CloseFile(fd);
  return found;
}

// Why a record could not be appended to `file`: the system's words for the failure just now, or
// the folder that is missing.
std::string WhyNotAppended(const std::string& file, const std::string& system_text) {
  const std::size_t cut = file.find_last_of(platform::PathSeparators());
  const std::string folder = cut == std::string::npos ? "" : file.substr(0, cut + 1);
  if (!folder.empty() && !StatFile(folder).exists)
    return "the folder " + folder + " does not exist";
  return system_text;
}

}  // namespace

std::string ConfirmAppended(const std::string& log, const RecordPlace& place,
                            std::string_view record) {
  // A rotation may rename the file between the listing and the open: the search is tried again.
  for (int attempt = 0; attempt < kRaceAttempts; ++attempt) {
    std::vector<std::string> paths{log};
    const std::vector<Generation> generations = ListGenerations(log);
    for (auto it = generations.rbegin(); it != generations.rend(); ++it) paths.push_back(it->path);
    for (const std::string& path : paths) {
      const Found found = LookAt(path, place, record);
      if (found == Found::kSame) return {};
      if (found == Found::kOther) return "the bytes where it was written are not its record";
    }
  }
  return "the file it was written to is gone";
}

void DefineLog(CLI::App* app, Arguments* args) {
  app->add_option("-f,--file", args->file, "the log file (default: " + args->file + ")")
      ->type_name("FILE")
      ->check(Check("a file name", [](const std::string& value) { return !value.empty(); }));
}

// The library drops a record it cannot append without a word: zyl appends the record SendDebugMsg
// would, learns where its own append put it, and reads those bytes back, so no other writer's
// record can stand in for it. A device or pipe cannot be read back.
Status RunLog(const Arguments& args, Output& /*out*/) {
  if (const RotationSetting rotation = RotationFromEnvironment();
      rotation.set && !rotation.policy) {
    Complain(std::string(kRotateVariable) +
             " is not SIZE[,KEEP] with SIZE and KEEP from 1 up, "
             "SIZE in bytes or with K, M or G: the log is not rotated");
  }
  const std::string record = BuildRecord(args.text);
  const AppendResult result = AppendRecordAndPlace(args.file.c_str(), record);
  const std::string system_text = result.whole ? "" : platform::LastErrorText();
  const FileStatus status = StatFile(args.file);
  std::string problem;
  if (!result.whole) {
    problem = WhyNotAppended(args.file, system_text);
  } else if (status.exists && !status.regular) {
    problem = "not a regular file (a device or a pipe): the record cannot be read back";
  } else if (!result.place) {
    problem = "the system did not tell where the record went: it cannot be read back";
  } else {
    problem = ConfirmAppended(args.file, *result.place, record);
  }
  // The record is there; a log that cannot be rotated grows on, which its owner must hear of.
  if (!result.rotation_problem.empty()) {
    Complain("could not rotate " + args.file + ": " + result.rotation_problem);
  }
  if (problem.empty()) return kOk;
  Complain("could not append a record to " + args.file + ": " + problem);
  return kFailed;
}

}  // namespace zyl::tool
