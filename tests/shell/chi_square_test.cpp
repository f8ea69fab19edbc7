// The chi-square helper of the statistical tests, against tabled quantiles.

#include "support/chi_square.h"

#include <gtest/gtest.h>

#include <cmath>

namespace likentor::test {
namespace {

TEST(ChiSquare, PValuesMatchTabledQuantiles) {
  // Upper quantiles of the chi-square distribution (statistic, degrees of freedom, chance).
  const struct {
    double statistic;
    int df;
    double p;
  } tabled[] = {{3.841459, 1, 0.05},   {6.634897, 1, 0.01},     {10.827566, 1, 0.001},
                {18.307038, 10, 0.05}, {29.588298, 10, 0.001},  {27.877165, 9, 0.001},
                {1.145476, 5, 0.95},   {124.342113, 100, 0.05}, {149.449252, 100, 0.001},
                {1074.679, 1000, 0.05}};
  for (const auto& t : tabled) {
    EXPECT_NEAR(ChiSquareOf(t.statistic, t.df).P(), t.p, t.p * 0.01) << t.statistic << " " << t.df;
  }
  // Two degrees of freedom: Q(1, x / 2) = e^(-x / 2), far into the tail as well.
  for (double x : {0.5, 2.0, 20.0, 200.0, 2000.0}) {
    EXPECT_NEAR(ChiSquareOf(x, 2).log10P, -x / 2 / std::log(10.0), 1e-9) << x;
  }
  EXPECT_TRUE(ChiSquareOf(10.8, 1).Passes());
  EXPECT_FALSE(ChiSquareOf(10.9, 1).Passes());
}

TEST(ChiSquare, GoodnessOfFitAndIndependence) {
  // 60 draws of a die: (8-10)^2/10 + (12-10)^2/10 = 0.8 over 5 degrees of freedom.
  const ChiSquare die = GoodnessOfFit({8, 12, 10, 10, 10, 10}, std::vector<double>(6, 1.0 / 6));
  EXPECT_NEAR(die.statistic, 0.8, 1e-12);
  EXPECT_EQ(die.df, 5);
  // A count where the chance is 0 fails outright.
  EXPECT_FALSE(GoodnessOfFit({5, 5, 1}, {0.5, 0.5, 0.0}).Passes());
  EXPECT_EQ(GoodnessOfFit({5, 5, 0}, {0.5, 0.5, 0.0}).df, 1);

  // Rows and columns in proportion: statistic 0.
  const ChiSquare even = Independence({{10, 20, 30}, {20, 40, 60}});
  EXPECT_NEAR(even.statistic, 0.0, 1e-12);
  EXPECT_EQ(even.df, 2);
  // A column without counts is left out; a perfectly tied table fails.
  const ChiSquare tied = Independence({{100, 0, 0}, {0, 100, 0}});
  EXPECT_EQ(tied.df, 1);
  EXPECT_NEAR(tied.statistic, 200.0, 1e-9);
  EXPECT_FALSE(tied.Passes());
}

TEST(ChiSquare, TenthsOfADraw) {
  EXPECT_EQ(TenthOfDraw(0, 70), 0);
  EXPECT_EQ(TenthOfDraw(6, 70), 0);
  EXPECT_EQ(TenthOfDraw(7, 70), 1);
  EXPECT_EQ(TenthOfDraw(69, 70), 9);
  EXPECT_EQ(TenthOfDraw(1744, 1745), 9);
  EXPECT_EQ(TenthOfDraw(2147483646, 2147483647), 9);
}

}  // namespace
}  // namespace likentor::test
