#include "shell/random_generator.h"

#include <gtest/gtest.h>

namespace likentor {
namespace {

TEST(RandomGenerator, FollowsTheLinearCongruentialSequence) {
  RandomGenerator random([] { return std::uint64_t{0}; });
  random.SetSeed(12345);
  // Worked out from seed := seed * 134775813 + 1 mod 2^32 and (seed * n) >> 32.
  EXPECT_EQ(random.Draw(100), 38);
  EXPECT_EQ(random.Seed(), 1655067934u);
  EXPECT_EQ(random.Draw(6), 1);
  EXPECT_EQ(random.Draw(1000000), 79735);
  EXPECT_EQ(random.Draw(0), 0);
  EXPECT_EQ(random.Seed(), 2377737157u);  // a draw below 0 still moves the seed
  EXPECT_EQ(random.Draw(2147483647), 1360806764);
}

TEST(RandomGenerator, ReseedsFromTheLowBitsOfTheClock) {
  std::uint64_t now = 0x100000005ull;
  RandomGenerator random([&now] { return now; });
  random.Reseed();
  EXPECT_EQ(random.Seed(), 5u);
  EXPECT_EQ(random.ReseedAndDraw(10), 1);  // seed 5 -> 673879066
  now = 0xFFFFFFFFull;
  random.Reseed();
  EXPECT_EQ(random.Seed(), 0xFFFFFFFFu);
  // Draws stay below n over many seeds.
  for (std::uint32_t seed = 0; seed < 2000; ++seed) {
    random.SetSeed(seed * 2654435761u);
    const int value = random.Draw(7);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 7);
  }
}

}  // namespace
}  // namespace likentor
