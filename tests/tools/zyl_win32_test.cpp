#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"
#include "zyl/zyl.h"
#include "zyl_runner.h"

namespace zyl::testing {
namespace {

TEST(ZylPad, ReportsAResultThatDoesNotFitInA32BitProcess) {
  if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit process may well hold it";
  // Above 2^30 bytes no 32-bit string can hold it; the library answers with the empty string.
  const ZylRun run = RunZyl({"pad", "-w", "2147483647", "x"});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Lines(run.err),
            std::vector<std::string>{"zyl: a result of 2147483647 bytes does not fit in memory"});
}

TEST(ZylTitle, ReadsTheTitleOfAnotherProcesssWindow) {
  const HWND window = CreateWindowExA(0, "STATIC", "Quarterly report", WS_OVERLAPPEDWINDOW, 0, 0,
                                      200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const auto handle = static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window));
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%llX", handle);
  for (const std::string& arg : {std::string(hex), std::to_string(handle)}) {
    SCOPED_TRACE(arg);
    const ZylRun run = RunZyl({"title", arg});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Quarterly report\n");
  }
  DestroyWindow(window);
}

}  // namespace
}  // namespace zyl::testing
