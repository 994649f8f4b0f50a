// SendDebugMsg against its floor: what any logger that appends a record and closes the file must
// pay, one open(O_APPEND | O_CREAT), one write of a record-sized buffer and one close. Both append
// to their own file in one directory, in alternating batches within one benchmark, so they share
// the filesystem and the machine's load; `ratio` is SendDebugMsg's median batch time over the
// floor's, `records_per_s` its rate. The log stays unset ZYL_LOG_ROTATE unless a case sets it.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "floor.h"
#include "zyl/zyl.h"

namespace {

// A file name in the temporary directory, removed before and after use.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& name)
      : path_((std::filesystem::temp_directory_path() /
               ("zyl_log_bench_" + std::to_string(getpid()) + "_" + name))
                  .string()) {
    Remove();
  }
  ~ScratchFile() { Remove(); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const char* c_str() const { return path_.c_str(); }

 private:
  void Remove() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::string path_;
};

// "APP: " executable ": " 24-byte time, newline, message, newline.
std::size_t RecordSize(std::size_t message_size) {
  std::error_code ignored;
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe", ignored).string();
  return 5 + exe.size() + 2 + 25 + message_size + 1;
}

// Arguments: message size, records per batch, and 1 to run with ZYL_LOG_ROTATE set to a size the
// log does not reach: the variable read and the end of each record measured.
void BM_SendDebugMsg(benchmark::State& state) {
  const auto message_size = static_cast<std::size_t>(state.range(0));
  const int batch = static_cast<int>(state.range(1));
  if (state.range(2) != 0) setenv("ZYL_LOG_ROTATE", "1G", 1);
  ScratchFile log("send");
  ScratchFile floor_log("floor");
  const std::string message(message_size, 'm');
  const std::string record(RecordSize(message_size), 'r');
  const char* old_log_name = LogName;
  LogName = log.c_str();

  const auto send = [&message] { SendDebugMsg(message); };
  const auto floor = [&floor_log, &record] {
    const int fd = open(floor_log.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(write(fd, record.data(), record.size()));
    close(fd);
  };
  // The least a record stamped with the local time of its call adds to the floor: the clock and
  // the C library's conversion, which the library keeps nothing of between calls.
  const auto stamped_floor = [&floor] {
    const std::time_t now = std::time(nullptr);
    std::tm local;
    benchmark::DoNotOptimize(localtime_r(&now, &local));
    floor();
  };
  zyl::bench::CompareWithFloor(state, batch, send, floor, stamped_floor);
  LogName = old_log_name;
  unsetenv("ZYL_LOG_ROTATE");
  state.counters["records_per_s"] = 1e9 / state.counters["ns"];
  state.counters["floor_per_s"] = 1e9 / state.counters["floor_ns"];
}

BENCHMARK(BM_SendDebugMsg)
    ->ArgNames({"message", "batch", "rotate"})
    ->Args({16, 200, 0})
    ->Args({200, 200, 0})
    ->Args({4096, 200, 0})
    ->Args({200, 200, 1})
    ->UseManualTime();

}  // namespace
