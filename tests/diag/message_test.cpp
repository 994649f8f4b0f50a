#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message_box_recorder.h"
#include "test_support.h"
#include "zyl/config.h"
#include "zyl/zyl.h"

namespace {

using zyl::testing::BoxRecorder;
using zyl::testing::BoxRecording;

TEST(ShowZYLMsg, ShowsTheTextUpToItsFirstNulInOneOwnerlessBox) {
  // The test thread owns no windows here, so nothing is active.
  const std::string executable_title = zyl::testing::ExecutableTitle("message_test");
  const struct {
    std::string text, want;
  } cases[] = {
      {"Disk full", "Disk full"},
      {std::string("shown\0hidden", 12), "shown"},
      {"", ""},
      {"100% %s %n & <done>", "100% %s %n & <done>"},  // no formatting, no mnemonics lost
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    BoxRecorder recorder;
    ShowZYLMsg(c.text);
    const BoxRecording got = recorder.Finish();
    EXPECT_EQ(got.problem, "");
    EXPECT_EQ(got.calls, 1);
    ASSERT_EQ(got.boxes.size(), 1u);
    EXPECT_EQ(got.boxes[0].text, c.want);
    EXPECT_EQ(got.boxes[0].owner, nullptr);
    EXPECT_EQ(got.boxes[0].caption, executable_title);
  }
}

// A null window's title is the host's file name, in the case it was started with: what follows
// the last '\\' or ':' of its path (a POSIX path has neither, unless a name holds one).
TEST(GetWindowTitle, NullGivesTheHostsFileNameInTheCaseItWasStartedWith) {
  const std::string probe = zyl::testing::ExecutablePath("window_title_probe");
  struct Host {
    std::string name, want;
  };
  const std::vector<Host> cases = ZYL_BUILT_FOR_WINDOWS
                                      ? std::vector<Host>{{"RIROVIVE.EXE", "RIROVIVE.EXE"},
                                                          {"Other Host.Exe", "Other Host.Exe"}}
                                      : std::vector<Host>{{"host", ""}, {"a:Host", "Host"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const zyl::testing::TempDir dir;
    const std::string host = dir.path() + c.name;
    ASSERT_TRUE(zyl::testing::CopyFileTo(probe, host));
    if (ZYL_BUILT_FOR_WINDOWS) {
      ASSERT_TRUE(
          zyl::testing::CopyFileTo(zyl::testing::LibraryPath(), dir.path() + "ZIZUDUZ.dll"));
    }
    const std::string out = dir.path() + "title.txt";
    EXPECT_EQ(zyl::testing::RunProcess(host, {out}, 30000), 0);
    EXPECT_EQ(zyl::testing::ReadWholeFile(out), c.want);
  }
}

TEST(ShowZYLError, ShowsExactlyOneOfTheTextsChosenByDebugMode) {
  const struct {
    const char* debug;  // null: unset
    std::string user, detail, want;
  } cases[] = {
      {nullptr, "Cannot save", "write(C:\\a.dat): 112", "Cannot save"},
      {"OFF", "Cannot save", "write(C:\\a.dat): 112", "Cannot save"},
      {"ON", "Cannot save", "write(C:\\a.dat): 112", "write(C:\\a.dat): 112"},
      {"oN", "Cannot save", "write(C:\\a.dat): 112", "write(C:\\a.dat): 112"},
      {"ON", "Cannot save", "", ""},  // an empty detail is still shown, not the user text
      {nullptr, "", "detail", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("DEBUG=") + (c.debug != nullptr ? c.debug : "(unset)") +
                 " user=" + c.user + " detail=" + c.detail);
    zyl::testing::ScopedEnv debug("DEBUG", c.debug);
    BoxRecorder recorder;
    ShowZYLError(c.user, c.detail);
    const BoxRecording got = recorder.Finish();
    EXPECT_EQ(got.problem, "");
    EXPECT_EQ(got.calls, 1);
    ASSERT_EQ(got.boxes.size(), 1u);
    EXPECT_EQ(got.boxes[0].text, c.want);
  }
}

}  // namespace
