#include "shell/random_generator.h"

#include <chrono>

namespace likentor {

RandomGenerator::RandomGenerator()
    : RandomGenerator([] {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
      }) {}

RandomGenerator::RandomGenerator(Clock clock) : clock_(std::move(clock)) {}

void RandomGenerator::Reseed() {
  seed_ = static_cast<std::uint32_t>(clock_());
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
