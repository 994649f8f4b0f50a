#include <CLI/CLI.hpp>

#include "commands.h"
#include "diag/log_record.h"
#include "diag/log_rotation.h"
#include "platform/platform.h"
#include "record_reader.h"
#include "system.h"
#include "zyl/zyl.h"

namespace zyl::tool {
namespace {

// Looks in `file`, from byte `from` on, for the record this program's SendDebugMsg appended for
// `message`: whole, as the log's reader reads every record, with this program's path and the
// message read back as it was passed; other writers' records may come around it.
// Empty when it is there; otherwise why it was not found.
std::string FindRecord(const std::string& file, std::uint64_t from, const std::string& message) {
  char path[platform::kPathLimit];
  const std::string_view exe(path, log_record::PutProgramPath(path) - path);
  std::string problem;
  const int fd = OpenForReading(file, &problem);
  if (fd < 0) return "could not read it back: " + problem;
  bool found = false;
  std::size_t matched = std::string::npos;  // bytes of `message` that the record read so far holds
  RecordReader reader(
      [&](LogEntry& entry) {
        if (entry.piece <= 1)
          matched = entry.is_record && entry.exe() == exe ? 0 : std::string::npos;
        if (matched == std::string::npos) return;
        const std::string part = entry.MessageText();
        matched = message.compare(matched, part.size(), part) == 0 ? matched + part.size()
                                                                   : std::string::npos;
        found = found || (!entry.cut && !entry.torn && matched == message.size());
      },
      from);
  const bool read = SeekTo(fd, from) && FeedFrom(fd, reader, [&found] { return !found; }) >= 0;
  CloseFile(fd);
  if (!found) reader.Finish();
  if (found) return {};
  return read ? "its record is not in the file, whole" : "could not read it back";
}

}  // namespace

void DefineLog(CLI::App* app, Arguments* args) {
  app->add_option("-f,--file", args->file, "the log file (default: " + args->file + ")")
      ->type_name("FILE")
      ->check(Check("a file name", [](const std::string& value) { return !value.empty(); }));
}

// The library drops a record it cannot append without a word: zyl reads its record back. A file
// that is not a regular one (a device, a pipe) cannot be read back.
Status RunLog(const Arguments& args, Output& /*out*/) {
  if (const RotationSetting rotation = RotationFromEnvironment();
      rotation.set && !rotation.policy) {
    Complain(std::string(kRotateVariable) +
             " is not SIZE[,KEEP] with SIZE and KEEP from 1 up, "
             "SIZE in bytes or with K, M or G: the log is not rotated");
  }
  const FileStatus before = StatFile(args.file);
  const char* log_name = LogName;  // the library keeps no copy of it
  LogName = args.file.c_str();
  SendDebugMsg(args.text);
  LogName = log_name;
  const FileStatus after = StatFile(args.file);
  // From where the file ended before, unless it was started anew meanwhile.
  const std::string problem =
      after.regular ? FindRecord(args.file, after.size < before.size ? 0 : before.size, args.text)
                    : "not a regular file: the record cannot be confirmed";
  if (problem.empty()) return kOk;
  Complain("could not append a record to " + args.file + ": " + problem);
  return kFailed;
}

}  // namespace zyl::tool
