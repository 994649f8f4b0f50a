#ifndef ZYL_TESTS_DIAG_LOG_TEST_UTIL_H_
#define ZYL_TESTS_DIAG_LOG_TEST_UTIL_H_

// Helpers shared by the log's tests.

#include <gtest/gtest.h>

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "test_support.h"
#include "zyl/zyl.h"

namespace zyl::testing {

// `message` as a text-mode file stores it: every '\n' becomes the platform's line end.
inline std::string OnDisk(std::string_view message) {
  std::string stored;
  for (const char c : message) {
    if (c == '\n') {
      stored += kTextNewline;
    } else {
      stored.push_back(c);
    }
  }
  return stored;
}

// What the C runtime's ctime gives for `when`, without its newline; empty when it gives nothing.
// Microsoft's runtime pads the day of month with '0' where the C standard's form, which the log
// keeps, has a blank: that one byte is taken in the standard's form. Not thread-safe.
inline std::string CtimeStamp(std::time_t when) {
  const char* text = std::ctime(&when);
  if (text == nullptr) return std::string();
  std::string stamp(text, std::string_view(text).find('\n'));
  if (stamp.size() > 8 && stamp[8] == '0') stamp[8] = ' ';
  return stamp;
}

// The head line of a record by `exe` stamped `when`, line end included.
inline std::string RecordHead(const std::string& exe, std::time_t when) {
  return "APP: " + exe + ": " + CtimeStamp(when) + kTextNewline;
}

// Whether `text` is exactly the records of `exe` for `messages`, each stamped with a time
// between `from` and `to`.
inline ::testing::AssertionResult AreRecords(const std::string& text, const std::string& exe,
                                             std::initializer_list<std::string> messages,
                                             std::time_t from, std::time_t to) {
  std::size_t pos = 0;
  for (const std::string& message : messages) {
    bool found = false;
    for (std::time_t when = from; when <= to && !found; ++when) {
      const std::string record = RecordHead(exe, when) + OnDisk(message) + kTextNewline;
      found = text.compare(pos, record.size(), record) == 0;
      if (found) pos += record.size();
    }
    if (!found) {
      return ::testing::AssertionFailure()
             << "no record of " << ::testing::PrintToString(message) << " by " << exe << " stamped "
             << CtimeStamp(from) << " to " << CtimeStamp(to) << " at byte " << pos << " of "
             << ::testing::PrintToString(text);
    }
  }
  if (pos != text.size()) {
    return ::testing::AssertionFailure()
           << "left over after the records: " << ::testing::PrintToString(text.substr(pos));
  }
  return ::testing::AssertionSuccess();
}

// Points LogName at `path` and back at what it was on scope exit.
class ScopedLogName {
 public:
  explicit ScopedLogName(const char* path) : old_(LogName) { LogName = path; }
  ~ScopedLogName() { LogName = old_; }
  ScopedLogName(const ScopedLogName&) = delete;
  ScopedLogName& operator=(const ScopedLogName&) = delete;

 private:
  const char* old_;
};

}  // namespace zyl::testing

#endif  // ZYL_TESTS_DIAG_LOG_TEST_UTIL_H_
