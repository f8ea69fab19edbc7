#include "shell/random_generator.h"

#include <chrono>

namespace likentor {

RandomGenerator::RandomGenerator()
    : RandomGenerator(
          [] {
            return static_cast<std::uint64_t>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count());
          },
          Reseeding::kMixClock) {}

RandomGenerator::RandomGenerator(Clock clock, Reseeding reseeding)
    : clock_(std::move(clock)), reseeding_(reseeding) {}

std::uint32_t RandomGenerator::MixClock(std::uint64_t reading, std::uint32_t seed) {
  // Unsigned arithmetic wraps modulo 2^64.
  std::uint64_t z = reading + 0x9E3779B97F4A7C15ull * (static_cast<std::uint64_t>(seed) + 1u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<std::uint32_t>(z >> 32);
}

void RandomGenerator::Reseed() {
  const std::uint64_t reading = clock_();
  seed_ = reseeding_ == Reseeding::kMixClock ? MixClock(reading, seed_)
                                             : static_cast<std::uint32_t>(reading);
}

int RandomGenerator::Draw(int n) {
  seed_ = seed_ * 134775813u + 1u;  // unsigned arithmetic wraps modulo 2^32
  if (n <= 0) return 0;
  return static_cast<int>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint32_t>(n)) >>
                          32);
}

int RandomGenerator::ReseedAndDraw(int n) {
  Reseed();
  return Draw(n);
}

}  // namespace likentor
