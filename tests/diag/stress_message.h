#ifndef ZYL_TESTS_DIAG_STRESS_MESSAGE_H_
#define ZYL_TESTS_DIAG_STRESS_MESSAGE_H_

// The messages of the log stress test, written by its threads and by the log_writer processes.

#include <string>

namespace zyl::testing {

inline constexpr int kStressRecords = 500;

// Message `record` of stress writer `writer`: long and different for every record, so that a torn
// or interleaved record cannot pass for a whole one. No newlines: one line per message.
inline std::string StressMessage(int writer, int record) {
  std::string text = "writer " + std::to_string(writer) + " record " + std::to_string(record) + " ";
  const int padding = 256 + (writer * 131 + record * 977) % 1800;
  for (int i = 0; i < padding; ++i) {
    text.push_back(static_cast<char>('a' + (writer + record + i) % 26));
  }
  return text;
}

}  // namespace zyl::testing

#endif  // ZYL_TESTS_DIAG_STRESS_MESSAGE_H_
