// Helper of the log stress test: appends the stress messages of one writer to one log.
// Usage: log_writer LOG WRITER COUNT

#include <cstdlib>

#include "stress_message.h"
#include "zyl/zyl.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  LogName = argv[1];
  const int writer = std::atoi(argv[2]);
  const int count = std::atoi(argv[3]);
  for (int record = 0; record < count; ++record) {
    SendDebugMsg(zyl::testing::StressMessage(writer, record));
  }
  return 0;
}
