// The zyl tool against the standard tools that do the least of the same work, each a whole
// process run as a script runs it, in alternating batches within one benchmark (floor.h); `ratio`
// is zyl's time over the other's, `throughput_vs_floor` its inverse.
// - `zyl trim -` against `cat` on a million short lines, read from a pipe the benchmark feeds or
//   from a file, written to a pipe it drains.
// - `zyl show` against `grep -c '^APP: '` on a log of 100 MB written for the run: with --count
//   (the same reading, a few lines out) and printing every record (drained through a pipe).
// Goals: the filter within 10x cat (ratio <= 10), and `zyl show --count` at 40 % of grep's speed
// or more (ratio <= 2.5): plain buffered code, memchr and one ZYLTrim per line reach both.
// Run: build/native/bin/zyl_bench (it finds zyl beside itself).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "floor.h"

extern char** environ;

namespace {

// Runs `argv` with `input` on standard input through a pipe (none: the file `input_file`) and
// drains its standard output; returns the bytes it wrote, or -1 when it did not end well.
long long RunDrained(const std::vector<std::string>& argv, const std::string* input,
                     const char* input_file = "/dev/null") {
  std::signal(SIGPIPE, SIG_IGN);  // a child that ends early must not end the benchmark
  int in[2];
  int out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input != nullptr) {
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  } else {
    posix_spawn_file_actions_addopen(&actions, 0, input_file, O_RDONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const bool started = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  std::size_t sent = 0;
  if (input == nullptr || !started) {
    close(in[1]);
    in[1] = -1;
  } else {
    fcntl(in[1], F_SETFL, O_NONBLOCK);
  }
  long long received = 0;
  static char buf[1 << 16];
  for (bool open = true; open && started;) {
    pollfd fds[2] = {{out[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
    poll(fds, in[1] >= 0 ? 2 : 1, -1);
    if (fds[0].revents != 0) {
      const ssize_t got = read(out[0], buf, sizeof buf);
      if (got <= 0) open = false;
      if (got > 0) received += got;
    }
    if (in[1] >= 0 && fds[1].revents != 0) {
      const ssize_t put = write(in[1], input->data() + sent, input->size() - sent);
      if (put > 0) sent += static_cast<std::size_t>(put);
      if (put < 0 || sent == input->size()) {
        close(in[1]);
        in[1] = -1;
      }
    }
  }
  if (in[1] >= 0) close(in[1]);
  close(out[0]);
  int status = 0;
  if (!started || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status) <= 1 ? received : -1;
}

std::string ZylPath() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "zyl").string();
}

// Times `op` against `floor` (each one run of a process) and checks that both ended well.
template <class Op, class Floor>
void Compare(benchmark::State& state, const Op& op, const Floor& floor) {
  bool ok = true;
  zyl::bench::CompareWithFloor(
      state, 1, [&] { ok = op() >= 0 && ok; }, [&] { ok = floor() >= 0 && ok; });
  if (!ok) state.SkipWithError("a run did not end well");
  state.counters["throughput_vs_floor"] = 1 / state.counters["ratio"];
}

// A file removed when the run ends.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("zyl_bench_" + std::to_string(getpid()) + "_" + name)) {}
  ~ScratchFile() { std::filesystem::remove(path_); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Argument: 1 reads the lines from a file, 0 through a pipe; either way the output goes through
// a pipe.
void BM_FilterVsCat(benchmark::State& state) {
  static const ScratchFile file("lines");
  static const std::string lines = [] {
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += "  line " + std::to_string(i) + " \n";
    std::FILE* out = std::fopen(file.path().c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return text;
  }();
  const bool from_file = state.range(0) == 1;
  const std::string* piped = from_file ? nullptr : &lines;
  const std::string path = file.path();
  const std::vector<std::string> zyl = {ZylPath(), "trim", "-"};
  Compare(
      state, [&] { return RunDrained(zyl, piped, path.c_str()); },
      [&] { return RunDrained({"cat"}, piped, path.c_str()); });
}
BENCHMARK(BM_FilterVsCat)
    ->ArgName("from_file")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// A log of about 100 MB as SendDebugMsg writes it on Windows: CR LF, a few programs, messages of
// one to three lines.
const ScratchFile& LogFile() {
  static const ScratchFile log("log");
  static const bool written = [] {
    std::FILE* file = std::fopen(log.path().c_str(), "wb");
    const char* exes[] = {"C:\\Program Files\\Stock\\STOCK.EXE", "C:\\APPS\\RIROVIVE.EXE",
                          "D:\\Tools\\report.exe"};
    std::string record;
    for (long i = 0; std::ftell(file) < 100L * 1000 * 1000; ++i) {
      record = "APP: ";
      record += exes[i % 3];
      record += ": Wed Mar 15 09:";
      record += std::to_string(10 + i / 60 % 50) + ":" + std::to_string(10 + i % 50) + " 2006\r\n";
      record += "saved item " + std::to_string(i) + " of the stock list";
      if (i % 7 == 0) record += "\r\n  detail: write C:\\Exports\\stock.csv\r\n  disk full";
      record += "\r\n";
      std::fwrite(record.data(), 1, record.size(), file);
    }
    return std::fclose(file) == 0;
  }();
  (void)written;
  return log;
}

// Argument: 1 counts records per program, 0 prints them all.
void BM_ShowVsGrep(benchmark::State& state) {
  const std::string log = LogFile().path();
  std::vector<std::string> zyl = {ZylPath(), "show", log};
  if (state.range(0) == 1) zyl.push_back("--count");
  const std::vector<std::string> grep = {"grep", "-c", "^APP: ", log};
  Compare(
      state, [&] { return RunDrained(zyl, nullptr); }, [&] { return RunDrained(grep, nullptr); });
}
BENCHMARK(BM_ShowVsGrep)
    ->ArgName("count")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace
