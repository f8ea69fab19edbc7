#pragma once

// Pearson's chi-square tests for the statistical tests of the random draws: goodness of fit of
// counts against the chances a draw promises, and independence of two draws in a contingency
// table. p-values come from the regularized upper incomplete gamma function Q(df / 2, x / 2),
// computed here (series below a + 1, continued fraction above, as in Numerical Recipes 6.2).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iostream>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace likentor::test {

// The level below which a test of a draw's chances fails. Under a sound generator each test fails
// by chance once in a thousand runs.
inline constexpr double kSignificance = 0.001;

// The natural logarithm of Q(a, x) = Γ(a, x) / Γ(a), for a > 0 and x >= 0; logarithms keep the
// p-values of a broken generator (10^-500 and less) apart from 0.
inline double LogUpperGammaQ(double a, double x) {
  if (x <= 0) return 0.0;
  const double logPrefix = -x + a * std::log(x) - std::lgamma(a);
  if (x < a + 1) {
    // P(a, x) = e^-x x^a / Γ(a) * sum x^k / (a (a + 1) ... (a + k)); Q = 1 - P.
    double term = 1.0 / a;
    double sum = term;
    for (int k = 1; k < 100000; ++k) {
      term *= x / (a + k);
      sum += term;
      if (std::fabs(term) < std::fabs(sum) * 1e-16) break;
    }
    return std::log1p(-std::min(1.0, std::exp(logPrefix) * sum));
  }
  // Q(a, x) = e^-x x^a / Γ(a) * 1 / (x + 1 - a - 1 (1 - a) / (x + 3 - a - ...)), by Lentz's method.
  constexpr double kTiny = 1e-300;
  double b = x + 1 - a;
  double c = 1 / kTiny;
  double d = 1 / b;
  double h = d;
  for (int i = 1; i < 100000; ++i) {
    const double an = -i * (i - a);
    b += 2;
    d = an * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1 / d;
    const double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1) < 1e-16) break;
  }
  return logPrefix + std::log(h);
}

struct ChiSquare {
  double statistic = 0;
  int df = 0;
  double log10P = 0;  // log10 of the chance of a statistic this large or larger

  double P() const { return std::pow(10.0, log10P); }
  bool Passes() const { return log10P > std::log10(kSignificance); }
};

inline ChiSquare ChiSquareOf(double statistic, int df) {
  ChiSquare result{statistic, df, 0.0};
  if (df > 0) result.log10P = LogUpperGammaQ(df / 2.0, statistic / 2.0) / std::log(10.0);
  return result;
}

inline std::ostream& operator<<(std::ostream& out, const ChiSquare& c) {
  out << "chi-square " << c.statistic << ", df " << c.df << ", p ";
  if (c.log10P > -4) return out << c.P();
  return out << "1e" << std::lround(c.log10P);
}

// Observed counts of categories 0..k-1 against their chances (which add up to 1; categories of
// chance 0 must have no count, and make the statistic infinite when they do).
inline ChiSquare GoodnessOfFit(const std::vector<std::int64_t>& counts,
                               const std::vector<double>& chances) {
  double n = 0;
  for (std::int64_t count : counts) n += static_cast<double>(count);
  double statistic = 0;
  int categories = 0;
  for (std::size_t k = 0; k < chances.size() || k < counts.size(); ++k) {
    const double observed = k < counts.size() ? static_cast<double>(counts[k]) : 0.0;
    const double expected = k < chances.size() ? n * chances[k] : 0.0;
    if (expected <= 0) {
      if (observed > 0) statistic = std::numeric_limits<double>::infinity();
      continue;
    }
    ++categories;
    statistic += (observed - expected) * (observed - expected) / expected;
  }
  return ChiSquareOf(statistic, categories - 1);
}

// Independence of rows and columns of a table of counts; rows and columns without any count are
// left out.
inline ChiSquare Independence(const std::vector<std::vector<std::int64_t>>& table) {
  std::vector<double> rowSums(table.size(), 0.0);
  std::vector<double> columnSums;
  double n = 0;
  for (std::size_t r = 0; r < table.size(); ++r) {
    if (columnSums.size() < table[r].size()) columnSums.resize(table[r].size(), 0.0);
    for (std::size_t c = 0; c < table[r].size(); ++c) {
      rowSums[r] += static_cast<double>(table[r][c]);
      columnSums[c] += static_cast<double>(table[r][c]);
    }
    n += rowSums[r];
  }
  double statistic = 0;
  int rows = 0;
  int columns = 0;
  for (double sum : columnSums) columns += sum > 0 ? 1 : 0;
  for (std::size_t r = 0; r < table.size(); ++r) {
    if (rowSums[r] <= 0) continue;
    ++rows;
    for (std::size_t c = 0; c < columnSums.size(); ++c) {
      if (columnSums[c] <= 0) continue;
      const double observed = c < table[r].size() ? static_cast<double>(table[r][c]) : 0.0;
      const double expected = rowSums[r] * columnSums[c] / n;
      statistic += (observed - expected) * (observed - expected) / expected;
    }
  }
  return ChiSquareOf(statistic, (rows - 1) * (columns - 1));
}

// The tenth of the range 0..n-1 that a draw below n fell in (0..9).
inline int TenthOfDraw(int value, int n) {
  return static_cast<int>(std::min<std::int64_t>(9, std::int64_t{value} * 10 / n));
}

// Named results of one set of tests on one set of draws.
using ChiSquareResults = std::vector<std::pair<std::string, ChiSquare>>;

inline bool AllPass(const ChiSquareResults& results) {
  for (const auto& [what, result] : results) {
    if (!result.Passes()) return false;
  }
  return true;
}

// Draws from a clock differ from run to run, and a sound generator fails one test at p <= 0.001
// now and then by chance; a generator whose draws follow one another fails every time. So a set
// of tests that fails is run once more on fresh draws, and the second set is the one that counts.
// Prints the figures of each set, for the record.
inline ChiSquareResults WithOneRetry(const std::function<ChiSquareResults()>& testFreshDraws) {
  ChiSquareResults results;
  for (int attempt = 1; attempt <= 2; ++attempt) {
    results = testFreshDraws();
    for (const auto& [what, result] : results) std::cout << "  " << what << ": " << result << "\n";
    if (AllPass(results)) break;
    if (attempt == 1) std::cout << "  (a test failed: once more on fresh draws)\n";
  }
  return results;
}

}  // namespace likentor::test
