#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>

#include "commands.h"
#include "record_reader.h"
#include "system.h"
#include "zyl/zyl.h"

namespace zyl::tool {
namespace {

// Whether `file` holds, past `offset`, a whole record of `message`; empty when it does,
// otherwise why not.
std::string FindRecord(const std::string& file, std::uint64_t offset, const std::string& message) {
  std::string problem;
  const int fd = OpenForReading(file, &problem);
  if (fd < 0) return problem;
  bool found = false;
  RecordReader reader(
      [&](LogEntry& entry) {
        found = found || (entry.is_record && !entry.torn &&
                          (entry.message() == message || entry.MessageText() == message));
      },
      offset);
  const long long fed = SeekTo(fd, offset) ? FeedFrom(fd, reader) : -1;
  const int error = errno;
  CloseFile(fd);
  if (fed < 0) return std::strerror(error);
  reader.Finish();
  return found ? "" : "the record is not in the file";
}

// The library drops a record it cannot append without a word: zyl reads the file back from where
// it ended before, and looks for the record there.
Status AppendRecord(const std::string& file, const std::string& message) {
  const FileStatus before = StatFile(file);
  const char* log_name = LogName;  // the library keeps no copy of it
  LogName = file.c_str();
  SendDebugMsg(message);
  LogName = log_name;
  const std::string problem = before.exists && !before.regular
                                  ? "not a regular file, so the record cannot be confirmed"
                                  : FindRecord(file, before.size, message);
  if (problem.empty()) return kOk;
  Complain("could not append a record to " + file + ": " + problem);
  return kFailed;
}

}  // namespace

void DefineLog(CLI::App* app, Arguments* args) {
  app->add_option("-f,--file", args->file, "the log file (default: " + args->file + ")")
      ->type_name("FILE")
      ->check(Check([](const std::string& value) -> std::string {
        return value.empty() ? "needs a file name" : "";
      }));
}

Status EachLog(const Arguments& args, const std::string& text, const std::string& /*other*/,
               Output& /*out*/) {
  return AppendRecord(args.file, text);
}

}  // namespace zyl::tool
