#include "zyl/zyl_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

TEST(ZYLString, IntegerConstructorWritesPlainDecimal) {
  const struct { std::int32_t in; const char* want; } cases[] = {
      {0, "0"}, {7, "7"}, {-7, "-7"}, {1000000, "1000000"},
      {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(ZYLString(c.in), c.want);
  }
}
