#include "shell/whole_number.h"

#include <gtest/gtest.h>

#include "shell/error.h"

namespace likentor {
namespace {

TEST(WholeNumber, AcceptsSignedDecimalsThatFit32Bits) {
  EXPECT_EQ(ToWholeNumber("42"), 42);
  EXPECT_EQ(ToWholeNumber(" -7 "), -7);
  EXPECT_EQ(ToWholeNumber("+3"), 3);
  EXPECT_EQ(ToWholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(ToWholeNumber("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", " ", "2147483648", "1.5", "12a", "0x10", "+-1", "- 1"}) {
    EXPECT_FALSE(TryWholeNumber(bad).has_value()) << bad;
  }
  try {
    ToWholeNumber("abc");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a whole number");
  }
}

}  // namespace
}  // namespace likentor
