#pragma once
// A small seeded generator of our own: the standard distributions differ between library
// versions, and the kit must come out byte-identical from the same generator everywhere.
#include <cstdint>
#include <string_view>

namespace likentor::artgen {

// SplitMix64 finaliser: a bijection on 64-bit values with good avalanche.
constexpr std::uint64_t Mix64(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// FNV-1a of a text, to turn names ("asian", "goatee") into seeds.
constexpr std::uint64_t HashText(std::string_view text) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001B3ull;
  }
  return h;
}

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(Mix64(seed)) {}
  Rng(std::string_view name, std::uint64_t index) : state_(Mix64(HashText(name) ^ Mix64(index))) {}

  std::uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  // Uniform integer in [0, n); n > 0.
  int Below(int n) {
    return static_cast<int>((Next() >> 32) * static_cast<std::uint64_t>(n) >> 32);
  }
  bool Chance(double p) { return Unit() < p; }
  // Sum of two uniforms: a soft bell in [lo, hi], centred, for features that cluster.
  double Bell(double lo, double hi) { return lo + (hi - lo) * 0.5 * (Unit() + Unit()); }

 private:
  std::uint64_t state_;
};

}  // namespace likentor::artgen
