#include "samplegame/sample_random.h"

namespace likentor::samplegame {

namespace {

std::uint64_t Rotl(std::uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

}  // namespace

std::uint64_t Mix64(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::uint64_t HashText(std::string_view text) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (unsigned char c : text) {
    h ^= c;
    h *= 0x100000001B3ULL;
  }
  return h;
}

SampleRandom::SampleRandom(std::uint64_t seed) {
  std::uint64_t x = seed;
  for (auto& s : s_) {
    x = Mix64(x);
    s = x;
  }
}

SampleRandom SampleRandom::For(std::uint64_t seed, std::string_view part, std::uint64_t index) {
  return SampleRandom(Mix64(seed ^ HashText(part)) ^ Mix64(index + 0x51ED27ULL));
}

std::uint64_t SampleRandom::Next() {
  const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
  const std::uint64_t t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = Rotl(s_[3], 45);
  return result;
}

std::uint64_t SampleRandom::Below(std::uint64_t n) {
  if (n == 0) return 0;
  // Reject the top sliver of the range that would favour small results.
  const std::uint64_t threshold = (0 - n) % n;
  for (;;) {
    const std::uint64_t r = Next();
    if (r >= threshold) return r % n;
  }
}

int SampleRandom::Range(int lo, int hi) {
  const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
  return static_cast<int>(lo + static_cast<std::int64_t>(Below(span)));
}

bool SampleRandom::Chance(int permille) {
  return static_cast<int>(Below(1000)) < permille;
}

std::size_t SampleRandom::Weighted(std::span<const int> weights) {
  std::uint64_t total = 0;
  for (int w : weights) total += static_cast<std::uint64_t>(w > 0 ? w : 0);
  std::uint64_t r = Below(total);
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const auto w = static_cast<std::uint64_t>(weights[i] > 0 ? weights[i] : 0);
    if (r < w) return i;
    r -= w;
  }
  return weights.empty() ? 0 : weights.size() - 1;
}

}  // namespace likentor::samplegame
