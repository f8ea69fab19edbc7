#pragma once

// The shared random generator: one 32-bit seed; a draw below n sets seed := seed * 134775813 + 1
// (mod 2^32) and yields the upper 32 bits of the 64-bit product of the new seed and n. Every random
// choice of the program reseeds from the clock immediately before its single draw.
//
// A reseed mixes the clock into the seed rather than replacing it: two choices made a few dozen
// nanoseconds apart read clock values an almost constant step apart, and seeds taken straight from
// those readings made each draw follow from the one before it. A clock that a test
// passes may instead set the seed outright, so that the test steers every draw.

#include <cstdint>
#include <functional>

namespace likentor {

class RandomGenerator {
 public:
  // A monotonic clock in nanoseconds; tests pass their own.
  using Clock = std::function<std::uint64_t()>;

  // What a reseed does with the clock's reading.
  enum class Reseeding {
    // seed := MixClock(reading, seed): the reading and the seed the draws left are mixed.
    kMixClock,
    // seed := the low 32 bits of the reading, whatever the seed was: a test's clock makes every
    // draw come out as it wants.
    kSetFromClock,
  };

  RandomGenerator();  // the steady clock, mixed in
  explicit RandomGenerator(Clock clock, Reseeding reseeding = Reseeding::kSetFromClock);

  // The seed a mixing reseed makes from a clock reading and the current seed: the upper 32 bits of
  // the SplitMix64 finalizer applied to reading + 0x9E3779B97F4A7C15 * (seed + 1) (mod 2^64). Any
  // change of the reading or of the seed changes about half of the result's bits.
  static std::uint32_t MixClock(std::uint64_t reading, std::uint32_t seed);

  // Reads the clock once and makes the new seed from it, as the generator's Reseeding says.
  void Reseed();
  // A value 0 to n - 1; 0 when n is 0 or less.
  int Draw(int n);
  // Reseed, then Draw: how every random choice of the program is made.
  int ReseedAndDraw(int n);

  std::uint32_t Seed() const { return seed_; }
  void SetSeed(std::uint32_t seed) { seed_ = seed; }

 private:
  Clock clock_;
  Reseeding reseeding_;
  std::uint32_t seed_ = 0;
};

}  // namespace likentor
