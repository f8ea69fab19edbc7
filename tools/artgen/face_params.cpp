// Choosing the parameters of one face. Eight discrete choices (head shape, eye shape, nose, mouth,
// brows, ears, skin-tone step, age step) form a code; face n of a folder gets code P(n) for a
// fixed permutation P of all codes, so two faces of a folder always differ in at least one
// choice. Continuous jitter on top, from a generator seeded by folder and face number, keeps
// faces of the same choices apart as well.
#include <algorithm>
#include <cstdint>

#include "faces.h"
#include "layout.h"
#include "rng.h"

namespace likentor::artgen {
namespace {

using namespace layout;

constexpr int kHeads = 6, kEyes = 5, kNoses = 5, kMouths = 5, kBrows = 5, kEars = 3, kTones = 8,
              kAges = 4;
constexpr std::uint32_t kCodes =
    kHeads * kEyes * kNoses * kMouths * kBrows * kEars * kTones * kAges;

// A keyed permutation of [0, kCodes): a balanced Feistel network on 20 bits, walked until it
// lands inside the range (each step is a bijection, so the walk is too).
std::uint32_t Permute(std::uint32_t n, std::uint64_t key) {
  static_assert(kCodes <= (1u << 20));
  std::uint32_t x = n;
  do {
    std::uint32_t left = x >> 10;
    std::uint32_t right = x & 0x3FF;
    for (int round = 0; round < 4; ++round) {
      const std::uint32_t f = static_cast<std::uint32_t>(Mix64(
                                  key * 31 + static_cast<std::uint64_t>(round) * 1024 + right)) &
                              0x3FF;
      const std::uint32_t next = left ^ f;
      left = right;
      right = next;
    }
    x = (left << 10) | right;
  } while (x >= kCodes);
  return x;
}

struct Choices {
  int head, eyes, nose, mouth, brows, ears, tone, age;
};

Choices Decode(std::uint32_t code) {
  Choices c{};
  auto take = [&code](int radix) {
    const int d = static_cast<int>(code % static_cast<std::uint32_t>(radix));
    code /= static_cast<std::uint32_t>(radix);
    return d;
  };
  c.head = take(kHeads);
  c.eyes = take(kEyes);
  c.nose = take(kNoses);
  c.mouth = take(kMouths);
  c.brows = take(kBrows);
  c.ears = take(kEars);
  c.tone = take(kTones);
  c.age = take(kAges);
  return c;
}

struct Tone {
  Rgb light, dark;
};

Tone SkinRange(Ethnicity e) {
  switch (e) {
    case Ethnicity::kCaucasian:
      return {Bytes(245, 214, 190), Bytes(204, 152, 114)};
    case Ethnicity::kAsian:
      return {Bytes(243, 211, 176), Bytes(194, 144, 100)};
    case Ethnicity::kAfrican:
      return {Bytes(172, 116, 80), Bytes(78, 50, 36)};
    case Ethnicity::kEastIndian:
      return {Bytes(214, 160, 116), Bytes(120, 78, 52)};
  }
  return {};
}

Rgb PickHair(Ethnicity e, Rng& rng) {
  const double u = rng.Unit();
  if (e == Ethnicity::kCaucasian) {
    if (u < 0.14) return Bytes(34, 27, 24);
    if (u < 0.50) return Bytes(62, 44, 32);
    if (u < 0.76) return Bytes(96, 68, 46);
    if (u < 0.89) return Bytes(138, 104, 70);
    if (u < 0.96) return Bytes(184, 150, 100);
    return Bytes(150, 78, 44);
  }
  if (u < 0.7) return Bytes(28, 23, 22);
  return Bytes(48, 35, 28);
}

Rgb PickIris(Ethnicity e, Rng& rng) {
  const double u = rng.Unit();
  if (e == Ethnicity::kCaucasian) {
    if (u < 0.22) return Bytes(78, 118, 160);
    if (u < 0.34) return Bytes(112, 132, 146);
    if (u < 0.46) return Bytes(92, 118, 78);
    if (u < 0.64) return Bytes(124, 98, 58);
    if (u < 0.85) return Bytes(96, 62, 38);
    return Bytes(62, 40, 28);
  }
  if (e == Ethnicity::kEastIndian && u < 0.12) return Bytes(118, 94, 54);
  if (u < 0.35) return Bytes(78, 50, 32);
  return Bytes(50, 33, 24);
}

}  // namespace

FaceParams ChooseFace(Ethnicity ethnicity, int index) {
  const auto eth = static_cast<std::uint64_t>(ethnicity);
  const Choices c = Decode(Permute(static_cast<std::uint32_t>(index), 0x51ED + eth));
  Rng rng(0xFACE0000ull + eth * 0x10000 + static_cast<std::uint64_t>(index));
  auto jitter = [&rng](double spread) { return rng.Range(-spread, spread); };
  FaceParams f{};

  // Head shapes: round, long, square, narrow chin, broad, angular.
  struct Head {
    double temple, cheek, jaw, jawY, chin, chinHalf;
  };
  constexpr Head kHeadShapes[kHeads] = {
      {22.2, 22.4, 18.6, 84.5, 94.4, 7.0}, {21.0, 21.0, 16.2, 86.5, 97.0, 5.8},
      {22.0, 21.8, 19.2, 87.0, 95.6, 8.4}, {22.6, 22.2, 15.8, 83.0, 95.6, 4.6},
      {22.8, 22.5, 19.4, 85.0, 95.0, 8.0}, {20.9, 22.5, 16.6, 86.0, 96.6, 5.4},
  };
  const Head& h = kHeadShapes[c.head];
  f.age = (c.age + rng.Unit()) / kAges;
  f.templeHalf = std::clamp(h.temple + jitter(0.5), kTempleHalfMin, kTempleHalfMax);
  f.cheekHalf = std::clamp(h.cheek + jitter(0.5), kCheekHalfMin, kCheekHalfMax);
  f.jawHalf = std::clamp(h.jaw + jitter(0.6) + f.age * 0.5, kJawHalfMin, kJawHalfMax);
  f.jawY = std::clamp(h.jawY + jitter(1.0), kJawCornerMin, kJawCornerMax);
  f.chinY = std::clamp(h.chin + jitter(0.7), kChinMin, kChinMax);
  f.chinHalf = h.chinHalf + jitter(0.8);
  f.neckHalf = kNeckHalf + jitter(0.7) + (f.jawHalf - 18.5) * 0.2;
  f.cheekHollow = f.age * 0.6 + rng.Range(0, 0.3);

  // Skin: a step of the ethnicity's range, kept warm.
  const Tone range = SkinRange(ethnicity);
  const double t = (c.tone + rng.Unit()) / kTones;
  f.skin = Mix(range.light, range.dark, t);
  const double warmth = jitter(0.02);
  f.skin.r = std::clamp(f.skin.r + warmth * 0.5, 0.0, 1.0);
  f.skin.b = std::clamp(f.skin.b - warmth, 0.0, 1.0);
  // Cheek colour shows on light skin only.
  f.blush = rng.Range(0.02, 0.07) * (1.0 - t) *
            (ethnicity == Ethnicity::kCaucasian ? 1.5
             : ethnicity == Ethnicity::kAfrican ? 0.0
                                                : 0.7);
  f.hair = PickHair(ethnicity, rng);
  f.sideburnEnd = rng.Range(50.5, 58.0);
  f.sideburnWidth = rng.Range(1.8, 3.0);

  // Eyes: round, almond, narrow, downturned, hooded.
  struct Eye {
    double width, height, tilt, crease, heavy;
  };
  constexpr Eye kEyeShapes[kEyes] = {
      {7.9, 3.8, 0.0, 0.8, 0.1},  {7.8, 3.3, 0.5, 0.6, 0.2}, {7.4, 2.9, 0.2, 0.5, 0.3},
      {7.6, 3.3, -0.5, 0.6, 0.3}, {7.6, 3.0, 0.1, 0.3, 0.7},
  };
  const Eye& e = kEyeShapes[c.eyes];
  f.eyeSpacing = rng.Range(kEyeSpacingMin, kEyeSpacingMax);
  f.eyeY = kEyeY + jitter(0.6);
  f.eyeWidth = e.width + jitter(0.4);
  f.eyeHeight = e.height + jitter(0.25);
  f.eyeTilt = e.tilt + jitter(0.2);
  f.lidCrease = e.crease;
  f.lidHeavy = e.heavy + f.age * 0.2;
  if (ethnicity == Ethnicity::kAsian) {
    f.eyeHeight *= 0.82;
    f.eyeTilt += 0.35;
    f.lidCrease = rng.Chance(0.65) ? 0.0 : 0.25;
    f.lidHeavy = std::min(1.0, f.lidHeavy + 0.3);
  }
  f.iris = PickIris(ethnicity, rng);
  f.irisSize = rng.Range(1.65, 2.0);
  f.gaze = jitter(0.35);

  // Brows: straight, arched, thin, stern, bushy.
  struct Brow {
    double thick, arch, slant;
  };
  constexpr Brow kBrowShapes[kBrows] = {
      {2.2, 0.5, 0.0}, {1.9, 1.5, 0.6}, {1.6, 0.9, 0.3}, {2.3, 0.7, -0.9}, {2.8, 0.8, 0.2},
  };
  const Brow& b = kBrowShapes[c.brows];
  f.browInner = rng.Range(2.0, 3.4);
  f.browLength = rng.Range(9.5, 12.0);
  f.browThick = b.thick + jitter(0.25);
  f.browArch = b.arch + jitter(0.3);
  f.browSlant = b.slant + jitter(0.3);
  f.browLift = rng.Range(5.0, 6.2);

  // Noses: straight, broad, long, short, strong.
  struct Nose {
    double tip, width, bridge, tipSize;
  };
  constexpr Nose kNoses_[kNoses] = {
      {72.0, 8.6, 0.6, 1.6}, {72.3, 11.2, 0.4, 2.1}, {73.2, 9.4, 0.7, 1.8},
      {71.0, 9.0, 0.4, 1.9}, {72.8, 9.8, 1.0, 2.0},
  };
  const Nose& n = kNoses_[c.nose];
  f.noseTipY = n.tip + jitter(0.4);
  f.noseWidth = n.width + jitter(0.5);
  f.noseBridge = n.bridge + jitter(0.15);
  f.noseTip = n.tipSize + jitter(0.2);
  if (ethnicity == Ethnicity::kAfrican) {
    f.noseWidth += 1.8;
    f.noseBridge *= 0.65;
    f.noseTip += 0.3;
  } else if (ethnicity == Ethnicity::kAsian) {
    f.noseWidth += 0.7;
    f.noseBridge *= 0.6;
  } else if (ethnicity == Ethnicity::kEastIndian) {
    f.noseWidth += 0.4;
    f.noseTipY += 0.3;
  }
  f.noseTipY = std::clamp(f.noseTipY, kNoseTipMin, kNoseTipMax);
  f.noseWidth = std::min(f.noseWidth, 13.0);

  // Mouths: wide and thin, even, full, small, crooked.
  struct Mouth {
    double width, upper, lower, curve, skew;
  };
  constexpr Mouth kMouths_[kMouths] = {
      {16.5, 1.4, 2.2, 0.2, 0.0},  {14.5, 1.9, 2.8, 0.0, 0.0}, {15.0, 2.5, 3.5, 0.1, 0.0},
      {12.5, 2.0, 3.0, -0.1, 0.0}, {14.5, 1.7, 2.6, 0.3, 0.6},
  };
  const Mouth& m = kMouths_[c.mouth];
  f.mouthY = kMouthY + jitter(0.7);
  f.mouthWidth = m.width + jitter(0.8);
  f.upperLip = m.upper + 0.3 + jitter(0.2) - f.age * 0.2;
  f.lowerLip = m.lower + 0.3 + jitter(0.3) - f.age * 0.2;
  f.mouthCurve = m.curve + jitter(0.35);
  f.mouthSkew = m.skew * (rng.Chance(0.5) ? 1 : -1) + jitter(0.15);
  if (ethnicity == Ethnicity::kAfrican) {
    f.upperLip += 0.7;
    f.lowerLip += 0.8;
    f.mouthWidth += 0.8;
  }
  f.mouthWidth = std::min(f.mouthWidth, 18.0);
  const Rgb lipTint = Bytes(176, 92, 86);
  f.lip = Mix(f.skin, Scale(lipTint, 0.55 + 0.45 * (1 - t)), 0.5);
  if (ethnicity == Ethnicity::kAfrican) f.lip = Mix(f.skin, Bytes(136, 64, 64), 0.45);
  if (ethnicity == Ethnicity::kAsian) {
    f.cheekHalf = std::min(f.cheekHalf + 0.4, kCheekHalfMax);
    f.browArch *= 0.6;
  }

  // Ears: small, medium, large.
  constexpr double kEarSizes[kEars] = {13.0, 14.6, 16.2};
  f.earHeight = kEarSizes[c.ears] + jitter(0.5);
  f.earTop = kEarTop + rng.Range(0.0, 1.5);
  f.earOut = rng.Range(3.4, 5.2);

  // Shaved beard shadow on dark-haired men, a cleft in some chins, grey at the temples with age.
  const double hairLuma = 0.3 * f.hair.r + 0.59 * f.hair.g + 0.11 * f.hair.b;
  f.beardShadow = hairLuma < 0.3 && rng.Chance(0.45) ? rng.Range(0.05, 0.16) : 0.0;
  if (ethnicity == Ethnicity::kAsian) f.beardShadow *= 0.5;
  f.chinCleft = c.head == 2 || c.head == 4 ? (rng.Chance(0.4) ? rng.Range(0.5, 1.0) : 0.0) : 0.0;
  if (f.age > 0.8 && rng.Chance(0.5)) f.hair = Mix(f.hair, Bytes(170, 168, 164), 0.4);
  return f;
}

FaceParams PlainFace() {
  FaceParams f = ChooseFace(Ethnicity::kCaucasian, 0);
  f.templeHalf = 21.8;
  f.cheekHalf = 22.0;
  f.jawHalf = 18.8;
  f.jawY = 86.0;
  f.chinY = 95.5;
  f.chinHalf = 6.5;
  f.neckHalf = kNeckHalf;
  f.skin = Bytes(226, 182, 148);
  f.hair = Bytes(70, 50, 36);
  f.eyeSpacing = 9.4;
  f.eyeY = kEyeY;
  f.eyeWidth = 7.2;
  f.eyeHeight = 3.2;
  f.eyeTilt = 0.1;
  f.iris = Bytes(90, 64, 42);
  f.gaze = 0;
  f.noseTipY = 72.0;
  f.noseWidth = 9.6;
  f.mouthY = kMouthY;
  f.mouthWidth = 15.0;
  f.mouthCurve = 0.2;
  f.mouthSkew = 0;
  f.age = 0.3;
  f.lidCrease = 0.6;
  f.lidHeavy = 0.2;
  f.beardShadow = 0;
  f.chinCleft = 0;
  return f;
}

}  // namespace likentor::artgen
