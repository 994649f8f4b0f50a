// The benchmarks on Windows (or under Wine), where no benchmark library is at hand: the text
// cases of text_cases.h and the debug log, each against its floor in the same process. Each
// repetition runs every case once, one after another; within a case the function, its floor and
// any peer take turns in batches (measure.h), and the case's figure is their median. The table
// gives the median over the repetitions. The clock is QueryPerformanceCounter, through
// std::chrono::steady_clock.
//
// windows_bench [--reps=N] [--rounds=N] [--filter=TEXT] [--smoke]
// --smoke runs every case once with tiny batches: it only shows that each case works.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "measure.h"
#include "text_cases.h"
#include "zyl/zyl.h"

namespace {

using zyl::bench::CaseInfo;
using zyl::bench::Keep;
using zyl::bench::Median;
using zyl::bench::Rounds;

struct Figures {
  double ns, floor_ns, peer_ns;  // peer_ns is 0 without a peer
};

struct Case {
  CaseInfo info;
  std::function<Figures(int rounds, int batch)> run;
  std::vector<Figures> figures;  // one per repetition
};

template <class Op, class Floor, class Peer>
Case MakeCase(const CaseInfo& info, const Op& op, const Floor& floor, const Peer& peer) {
  return {info,
          [=](int rounds, int batch) -> Figures {
            if constexpr (std::is_same_v<Peer, zyl::bench::NoPeer>) {
              Rounds<2> sides;
              for (int i = 0; i < rounds; ++i) sides.Run(batch, op, floor);
              return {sides.Median(0), sides.Median(1), 0};
            } else {
              Rounds<3> sides;
              for (int i = 0; i < rounds; ++i) sides.Run(batch, op, floor, peer);
              return {sides.Median(0), sides.Median(1), sides.Median(2)};
            }
          },
          {}};
}

// A file in the temporary directory, removed before and after use.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& name) {
    char dir[MAX_PATH + 1] = {};
    GetTempPathA(sizeof dir, dir);
    path_ = std::string(dir) + "zyl_windows_bench_" + std::to_string(GetCurrentProcessId()) + "_" +
            name + ".log";
    DeleteFileA(path_.c_str());
  }
  ~ScratchFile() { DeleteFileA(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const char* c_str() const { return path_.c_str(); }

 private:
  std::string path_;
};

// SendDebugMsg against what any logger that appends a record and closes the file must pay:
// CreateFile for appending, one WriteFile of a record-sized buffer, CloseHandle. The peer adds what
// keeps records whole between processes, where one append-only write does not (Wine): an exclusive
// lock over the file, released by the close.
void AddLogCases(std::vector<Case>* cases) {
  static const ScratchFile log("send");
  static const ScratchFile floor_log("floor");
  static const ScratchFile peer_log("peer");
  LogName = log.c_str();
  char exe[MAX_PATH + 1] = {};
  const std::size_t exe_size = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  for (const std::size_t message_size : {16, 200, 4096}) {
    const std::string message(message_size, 'm');
    // "APP: " executable ": " 24-byte time CR LF, message CR LF.
    const std::string record(5 + exe_size + 2 + 26 + message_size + 2, 'r');
    const auto append = [record](const char* path, DWORD access, bool lock) {
      const HANDLE file =
          CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      OVERLAPPED whole{};
      if (lock) LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
      DWORD written = 0;
      WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
      CloseHandle(file);
    };
    cases->push_back(MakeCase(
        CaseInfo{"SendDebugMsg/" + std::to_string(message_size) + "B", 20, 0},
        [message] { SendDebugMsg(message); },
        [append] { append(floor_log.c_str(), FILE_APPEND_DATA, false); },
        [append] { append(peer_log.c_str(), FILE_APPEND_DATA | FILE_READ_DATA, true); }));
  }
  // With ZYL_LOG_ROTATE set to a size the log does not reach: the variable read and the size
  // under the lock. Set for this case's turns only.
  Case rotating = (*cases)[cases->size() - 2];  // 200 bytes
  rotating.info.name += "/rotate";
  rotating.run = [run = rotating.run](int rounds, int batch) {
    SetEnvironmentVariableA("ZYL_LOG_ROTATE", "1G");
    const Figures figures = run(rounds, batch);
    SetEnvironmentVariableA("ZYL_LOG_ROTATE", nullptr);
    return figures;
  };
  cases->push_back(rotating);
}

int IntOption(const char* arg, const char* name, int fallback) {
  const std::size_t length = std::strlen(name);
  return std::strncmp(arg, name, length) == 0 ? std::atoi(arg + length) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  int reps = 10;
  int rounds = 21;
  bool smoke = false;
  std::string filter;
  for (int i = 1; i < argc; ++i) {
    reps = IntOption(argv[i], "--reps=", reps);
    rounds = IntOption(argv[i], "--rounds=", rounds);
    if (std::strncmp(argv[i], "--filter=", 9) == 0) filter = argv[i] + 9;
    if (std::strcmp(argv[i], "--smoke") == 0) smoke = true;
  }
  if (smoke) reps = rounds = 1;

  std::vector<Case> cases;
  zyl::bench::ForEachTextCase(
      [&cases](const CaseInfo& info, const auto& op, const auto& floor, const auto& peer) {
        cases.push_back(MakeCase(info, op, floor, peer));
      });
  AddLogCases(&cases);
  cases.erase(std::remove_if(cases.begin(), cases.end(),
                             [&filter](const Case& c) {
                               return c.info.name.find(filter) == std::string::npos;
                             }),
              cases.end());

  for (int rep = 0; rep < reps; ++rep) {
    for (Case& c : cases) c.figures.push_back(c.run(rounds, smoke ? 1 : c.info.batch));
  }

  std::printf("| case | floor ns | ns | ratio | peer ratio | ns per byte |\n");
  std::printf("|---|---:|---:|---:|---:|---:|\n");
  for (const Case& c : cases) {
    std::vector<double> ns, floor_ns, peer_ns, ratio, peer_ratio;
    for (const Figures& f : c.figures) {
      ns.push_back(f.ns);
      peer_ns.push_back(f.peer_ns);
      floor_ns.push_back(f.floor_ns);
      ratio.push_back(f.ns / f.floor_ns);
      peer_ratio.push_back(f.peer_ns / f.floor_ns);
    }
    char ratio_text[32] = "";
    char peer[32] = "";
    char per_byte[48] = "";
    if (c.info.bytes != 0) {  // a scan: ns per byte, the function's and the peer's
      std::snprintf(per_byte, sizeof per_byte, "%.3f (peer %.3f)", Median(ns) / c.info.bytes,
                    Median(peer_ns) / c.info.bytes);
    } else {
      std::snprintf(ratio_text, sizeof ratio_text, "%.3f", Median(ratio));
      if (Median(peer_ratio) != 0) std::snprintf(peer, sizeof peer, "%.3f", Median(peer_ratio));
    }
    std::printf("| %s | %.1f | %.1f | %s | %s | %s |\n", c.info.name.c_str(), Median(floor_ns),
                Median(ns), ratio_text, peer, per_byte);
  }
  return 0;
}
