#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace likentor::samplegame {

// The generator's own random source: xoshiro256** seeded through splitmix64, with every
// distribution written out here, so that a seed gives the same saved game on every compiler and
// standard library.
class SampleRandom {
 public:
  explicit SampleRandom(std::uint64_t seed);
  // A generator for one part of the work (players, careers, a season), independent of how many
  // draws the other parts make.
  static SampleRandom For(std::uint64_t seed, std::string_view part, std::uint64_t index = 0);

  std::uint64_t Next();
  // A whole number 0 .. n-1 without bias; 0 for n = 0.
  std::uint64_t Below(std::uint64_t n);
  // A whole number lo .. hi, both included (lo <= hi).
  int Range(int lo, int hi);
  // True with probability `permille` / 1000.
  bool Chance(int permille);
  // An index drawn in proportion to the weights (all >= 0, at least one > 0).
  std::size_t Weighted(std::span<const int> weights);

 private:
  std::uint64_t s_[4];
};

// A stable 64-bit hash (FNV-1a) of a text, for deriving seeds of parts.
std::uint64_t HashText(std::string_view text);
// Mixes a number into a well-spread 64-bit value (the splitmix64 finaliser).
std::uint64_t Mix64(std::uint64_t x);

}  // namespace likentor::samplegame
