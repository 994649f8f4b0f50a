#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "zyl/zyl.h"
#include "zyl_runner.h"

// Without windows the library's boxes are lines on standard error: "[caption] text", or the
// text alone without a caption.

namespace zyl::testing {
namespace {

std::string Box(const std::string& text) {
  const std::string caption = ExtractFileName(ZylPath());  // empty: no '\\' in a Linux path
  return (caption.empty() ? "" : "[" + caption + "] ") + text + "\n";
}

TEST(ZylMsg, ShowsTheTextOncePerArgumentOrLine) {
  const ZylRun one = RunZyl({"msg", "Saved 3 files."});
  EXPECT_EQ(one.status, 0);
  EXPECT_EQ(one.out, "");
  EXPECT_EQ(one.err, Box("Saved 3 files."));

  const ZylRun lines = RunZyl({"msg", "-"}, "first\r\nsecond\n");
  EXPECT_EQ(lines.status, 0);
  EXPECT_EQ(lines.err, Box("first") + Box("second"));
}

TEST(ZylError, ShowsTheDetailOnlyInDebugMode) {
  const struct {
    const char* debug;
    std::vector<std::string> args;
    std::string input, boxes;
  } cases[] = {
      {nullptr, {"error", "Could not save.", "disk full"}, "", Box("Could not save.")},
      {"on", {"error", "Could not save.", "disk full"}, "", Box("disk full")},
      {"off", {"error", "-", "detail"}, "a\nb\n", Box("a") + Box("b")},
      {"ON", {"error", "user", "-"}, "a\nb\n", Box("a") + Box("b")},
      {"ON", {"error", "-", "detail"}, "a\nb\n", Box("detail") + Box("detail")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("DEBUG=") + (c.debug != nullptr ? c.debug : "(unset)") + " " +
                 c.args[1] + " " + c.args[2]);
    const ScopedEnv debug("DEBUG", c.debug);
    const ZylRun run = RunZyl(c.args, c.input);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, c.boxes);
  }
}

}  // namespace
}  // namespace zyl::testing
