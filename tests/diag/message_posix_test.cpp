#include <gtest/gtest.h>

#include "zyl/zyl.h"

namespace {

// The stand-ins: no windows, and executable paths without a backslash or colon, so every title
// is empty, that of a null window included.
TEST(GetWindowTitle, IsEmptyWithoutWindows) {
  EXPECT_EQ(GetWindowTitle(nullptr), "");
  EXPECT_EQ(GetWindowTitle(reinterpret_cast<HWND>(0x1234)), "");
}

TEST(ShowZYLMsg, WritesTheTextAloneWhenThereIsNoCaption) {
  testing::internal::CaptureStderr();
  ShowZYLMsg("Disk full");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Disk full\n");
}

}  // namespace
