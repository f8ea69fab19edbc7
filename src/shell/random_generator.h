#pragma once

// The shared random generator: one 32-bit seed; a draw below n sets seed := seed * 134775813 + 1
// (mod 2^32) and yields the upper 32 bits of the 64-bit product of the new seed and n. Every random
// choice of the program reseeds from the clock immediately before its single draw.

#include <cstdint>
#include <functional>

namespace likentor {

class RandomGenerator {
 public:
  // A monotonic clock in nanoseconds; tests pass their own.
  using Clock = std::function<std::uint64_t()>;

  RandomGenerator();  // the steady clock
  explicit RandomGenerator(Clock clock);

  // The seed becomes the low 32 bits of the clock.
  void Reseed();
  // A value 0 to n - 1; 0 when n is 0 or less.
  int Draw(int n);
  // Reseed, then Draw: how every random choice of the program is made.
  int ReseedAndDraw(int n);

  std::uint32_t Seed() const { return seed_; }
  void SetSeed(std::uint32_t seed) { seed_ = seed; }

 private:
  Clock clock_;
  std::uint32_t seed_ = 0;
};

}  // namespace likentor
