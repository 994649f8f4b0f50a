#include <gtest/gtest.h>

#include "test_support.h"
#include "zyl/zyl.h"

namespace {

using zyl::testing::ScopedEnv;

TEST(Debug, IsOffWhileDebugIsUnset) {
  ScopedEnv unset("DEBUG", nullptr);
  EXPECT_FALSE(Debug());
}

// One variable, changed between calls: a value cached by an earlier call would show here.
TEST(Debug, IsOnOnlyForOnInAnyLetterCase) {
  const struct {
    const char* value;
    bool want;
  } cases[] = {
      {"on", true},   {"OFF", false},  {"On", true},    {"", false},
      {"oN", true},   {"1", false},    {"ON", true},    {"YES", false},
      {"ON ", false}, {" ON", false},  {"ON\t", false}, {"O N", false},
      {"ONN", false}, {"TRUE", false}, {"o", false},    {"onward", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.value));
    ScopedEnv debug("DEBUG", c.value);
    EXPECT_EQ(Debug(), c.want);
  }
}

}  // namespace
