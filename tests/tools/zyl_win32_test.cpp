#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "test_support.h"
#include "zyl/zyl.h"
#include "zyl_runner.h"

namespace zyl::testing {
namespace {

TEST(ZylPad, RefusesWidthsBeyondWhatAStringHoldsInA32BitBuild) {
  if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit string holds any 32-bit width";
  // The library answers a width no string holds with the empty string; zyl says why instead.
  const ZylRun run = RunZyl({"pad", "-w", "2147483647", "x"});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("zyl: width 2147483647 is more than a string holds here"),
            std::string::npos)
      << run.err;
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
