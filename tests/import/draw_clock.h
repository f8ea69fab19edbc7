#pragma once

// Clocks for the shared generator that make its next draw come out as wanted. The generator seeds
// from the clock's low 32 bits and a draw below n steps seed := seed * 134775813 + 1 and yields
// the upper 32 bits of seed * n; inverting that step gives the clock value for a wanted draw.

#include <cstdint>
#include <functional>

namespace likentor::test {

inline constexpr std::uint32_t kDrawMultiplier = 134775813u;

// The inverse of the multiplier modulo 2^32 (Newton's iteration; the multiplier is odd).
inline std::uint32_t InverseMultiplier() {
  std::uint32_t inverse = kDrawMultiplier;
  for (int i = 0; i < 5; ++i) inverse *= 2u - kDrawMultiplier * inverse;
  return inverse;
}

// The clock value after which Reseed then Draw(n) yields r (0 <= r < n).
inline std::uint64_t ClockForDraw(std::uint32_t r, std::uint32_t n) {
  // The smallest seed s with floor(s * n / 2^32) == r.
  const std::uint64_t wanted = ((static_cast<std::uint64_t>(r) << 32) + n - 1) / n;
  const std::uint32_t before = (static_cast<std::uint32_t>(wanted) - 1u) * InverseMultiplier();
  return before;
}

// The draw below n that the generator makes right after being seeded with `seed` (an independent
// statement of the generator's rule, for expectations).
inline int DrawAfterSeed(std::uint32_t seed, std::uint32_t n) {
  const std::uint32_t next = seed * kDrawMultiplier + 1u;
  return static_cast<int>((static_cast<std::uint64_t>(next) * n) >> 32);
}

}  // namespace likentor::test
