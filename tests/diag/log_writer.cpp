// Helper of the log stress tests: appends the stress messages of one writer to one log.
// Usage: log_writer LOG WRITER COUNT [PADDING SECONDS]: with PADDING, messages that long, for
// SECONDS at most.

#include <chrono>
#include <cstdlib>

#include "stress_message.h"
#include "zyl/zyl.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 6) return 2;
  LogName = argv[1];
  const int writer = std::atoi(argv[2]);
  const int count = std::atoi(argv[3]);
  const int padding = argc == 6 ? std::atoi(argv[4]) : 0;
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::seconds(argc == 6 ? std::atoi(argv[5]) : 3600);
  for (int record = 0; record < count && std::chrono::steady_clock::now() < until; ++record) {
    SendDebugMsg(zyl::testing::StressMessage(writer, record, padding));
  }
  return 0;
}
