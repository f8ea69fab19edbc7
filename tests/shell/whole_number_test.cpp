#include "shell/whole_number.h"

#include <gtest/gtest.h>

#include "shell/error.h"

namespace likentor {
namespace {

// A typed value may have a sign and blanks around it; a number of a file is read strictly: digits
// only (after a minus), in range, and a number too large is none rather than another number.
TEST(WholeNumber, TypedValuesTakeBlanksAndFileNumbersOnlyDigitsInRange) {
  EXPECT_EQ(ToWholeNumber("42"), 42);
  EXPECT_EQ(ToWholeNumber(" -7 "), -7);
  EXPECT_EQ(ToWholeNumber("+3"), 3);
  EXPECT_EQ(ToWholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(ToWholeNumber("-2147483648"), -2147483647 - 1);
  for (const char* bad :
       {"", " ", "2147483648", "4294967297", "1.5", "12a", "0x10", "+-1", "- 1"}) {
    EXPECT_FALSE(TryWholeNumber(bad).has_value()) << bad;
  }
  const long long intMin = -2147483648LL;
  for (const char* bad : {"", " -7 ", "+3", "7\r", "\t7", "-", "1e3", "\xd9\xa3", "4294967297"}) {
    EXPECT_FALSE(StrictWholeNumber(bad, intMin, 2147483647).has_value()) << bad;
  }
  EXPECT_EQ(StrictWholeNumber("4294967295", 0, 4294967295LL), 4294967295LL);
  for (const char* bad : {"4294967296", "-1", "-0", "01x", "18446744073709551617"}) {
    EXPECT_FALSE(StrictWholeNumber(bad, 0, 4294967295LL).has_value()) << bad;
  }
  EXPECT_EQ(StrictWholeNumber("-5", -10, 10), -5);
  EXPECT_FALSE(StrictWholeNumber("-11", -10, 10).has_value());
  try {
    ToWholeNumber("abc");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a whole number");
  }
}

}  // namespace
}  // namespace likentor
