// Choosing the parameters of one face. Eight discrete choices (head shape, eye shape, nose, mouth,
// brows, ears, skin-tone step, age step) form a code; face n of a folder gets code P(n) for a
// fixed permutation P of all codes, so two faces of a folder always differ in at least one
// choice. Continuous jitter on top, from a generator seeded by folder and face number, keeps
// faces of the same choices apart as well.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <vector>

#include "faces.h"
#include "layout.h"
#include "rng.h"

namespace likentor::artgen {
namespace {

using namespace layout;

constexpr int kHeads = 20, kEyes = 20, kNoses = 16, kMouths = 16, kBrows = 20, kEars = 5,
              kTones = 8, kAges = 4;
constexpr std::uint32_t kCodes =
    kHeads * kEyes * kNoses * kMouths * kBrows * kEars * kTones * kAges;
constexpr int kHalfBits = 15;
constexpr std::uint32_t kHalfMask = (1u << kHalfBits) - 1;

// A keyed permutation of [0, kCodes): a balanced Feistel network on 30 bits, walked until it
// lands inside the range (each step is a bijection, so the walk is too).
std::uint32_t Permute(std::uint32_t n, std::uint64_t key) {
  static_assert(kCodes <= (1u << (2 * kHalfBits)));
  std::uint32_t x = n;
  do {
    std::uint32_t left = x >> kHalfBits;
    std::uint32_t right = x & kHalfMask;
    for (int round = 0; round < 4; ++round) {
      const std::uint32_t f =
          static_cast<std::uint32_t>(
              Mix64(key * 31 + static_cast<std::uint64_t>(round) * (kHalfMask + 1) + right)) &
          kHalfMask;
      const std::uint32_t next = left ^ f;
      left = right;
      right = next;
    }
    x = (left << kHalfBits) | right;
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
      return {Bytes(248, 220, 198), Bytes(188, 132, 96)};
    case Ethnicity::kAsian:
      return {Bytes(248, 222, 192), Bytes(170, 124, 92)};
    case Ethnicity::kAfrican:
      return {Bytes(184, 128, 90), Bytes(68, 44, 32)};
    case Ethnicity::kEastIndian:
      return {Bytes(222, 170, 126), Bytes(112, 72, 48)};
  }
  return {};
}

// The caucasian blonde of PickHair, the light brown a brown-haired face takes instead of it, and
// the blondes of blonde-haired faces (near the blonde beard's tones).
constexpr Rgb kCaucasianBlonde = Bytes(184, 150, 100);
constexpr Rgb kLightBrown = Bytes(138, 104, 70);
constexpr Rgb kBlondes[] = {Bytes(184, 150, 100), Bytes(168, 132, 84), Bytes(200, 168, 112),
                            Bytes(176, 140, 96)};
constexpr Rgb kGreyHair = Bytes(170, 168, 164);
constexpr double kHairGreyed = 0.4;

Rgb PickHair(Ethnicity e, Rng& rng) {
  const double u = rng.Unit();
  if (e == Ethnicity::kCaucasian) {
    if (u < 0.14) return Bytes(34, 27, 24);
    if (u < 0.50) return Bytes(62, 44, 32);
    if (u < 0.76) return Bytes(96, 68, 46);
    if (u < 0.89) return Bytes(138, 104, 70);
    if (u < 0.96) return kCaucasianBlonde;
    return Bytes(150, 78, 44);
  }
  // Black to very dark brown, a little different for everyone.
  const double v = rng.Unit();
  return Mix(Bytes(24, 20, 19), Bytes(66, 47, 34), u < 0.7 ? v * 0.35 : 0.35 + v * 0.65);
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

// Keeps a jittered value inside its range of the layout grid by folding it back at the bounds, so
// that values past a bound do not all pile up on it (faces there would come out alike).
double Fold(double v, double lo, double hi) {
  if (v > hi) v = hi - std::min(v - hi, hi - lo);
  if (v < lo) v = lo + std::min(lo - v, hi - lo);
  return v;
}

// Hair below the cap, in the order of HairStyle, per ethnicity (weights per thousand).
HairStyle PickHairStyle(Ethnicity e, Rng& rng) {
  constexpr int kWeights[4][kHairStyles] = {
      // shaved crop fade short overEars long neck curls locks braids flow tightCurls
      {40, 170, 140, 250, 100, 50, 90, 55, 10, 5, 70, 20},  // caucasian
      {30, 180, 170, 240, 150, 70, 80, 10, 5, 5, 50, 10},   // asian
      {120, 210, 250, 40, 0, 0, 20, 60, 120, 80, 0, 100},   // african
      {40, 190, 150, 250, 130, 50, 90, 60, 10, 0, 30, 0},   // east indian
  };
  const int* w = kWeights[static_cast<int>(e)];
  int total = 0;
  for (int i = 0; i < kHairStyles; ++i) total += w[i];
  int r = rng.Below(total);
  for (int i = 0; i < kHairStyles; ++i) {
    if (r < w[i]) return static_cast<HairStyle>(i);
    r -= w[i];
  }
  return HairStyle::kShort;
}

// One candidate for a face: code P(draw) and a generator keyed by the draw. Draw n of the first
// round is face n; further rounds offer each face other draws that no other face is offered.
FaceParams DrawCandidate(Ethnicity ethnicity, int draw) {
  const int index = draw;
  const auto eth = static_cast<std::uint64_t>(ethnicity);
  const Choices c = Decode(Permute(static_cast<std::uint32_t>(index), 0x51ED + eth));
  Rng rng(0xFACE0000ull + eth * 0x10000 + static_cast<std::uint64_t>(index));
  auto jitter = [&rng](double spread) { return rng.Range(-spread, spread); };
  FaceParams f{};

  // Head shapes in families: round, long and oval, square, narrow chin and heart, cheekbones
  // (high, diamond, hollow, flat), chins (jutting, receding, heavy, angular).
  struct Head {
    double temple, cheek, jaw, jawY, chin, chinHalf, cheekShift, jawRound, chinPoint, hollow;
  };
  constexpr Head kHeadShapes[kHeads] = {
      {22.2, 22.4, 18.6, 84.5, 94.4, 7.0, 0.0, 0.9, 0.1, 0.0},   // round
      {22.8, 22.6, 19.2, 85.5, 94.0, 7.8, 1.0, 1.0, 0.0, 0.0},   // round, full
      {21.8, 22.2, 17.6, 84.0, 95.0, 5.5, 0.5, 0.9, 0.4, 0.0},   // round, small chin
      {21.0, 21.0, 16.2, 86.5, 97.2, 5.8, 0.5, 0.6, 0.3, 0.1},   // long
      {21.4, 21.6, 16.8, 85.0, 96.2, 6.2, 0.0, 0.8, 0.3, 0.0},   // oval
      {21.2, 21.2, 18.4, 88.0, 97.0, 8.0, 0.5, 0.2, 0.0, 0.1},   // long, square
      {22.0, 21.8, 19.2, 87.0, 95.6, 8.4, 0.0, 0.15, 0.0, 0.0},  // square
      {22.8, 22.5, 19.6, 86.5, 95.0, 9.0, 0.5, 0.1, 0.0, 0.0},   // boxy
      {22.4, 22.2, 19.4, 84.0, 93.4, 8.6, -0.5, 0.3, 0.0, 0.0},  // square, short
      {22.6, 22.2, 15.8, 83.0, 95.6, 4.6, 0.0, 0.6, 0.7, 0.0},   // narrow chin
      {22.9, 22.0, 16.0, 84.5, 96.4, 3.8, -1.0, 0.7, 0.9, 0.0},  // heart
      {21.6, 22.4, 15.6, 85.0, 97.0, 3.6, 0.5, 0.4, 1.0, 0.1},   // tapered
      {20.9, 22.6, 16.6, 86.0, 96.6, 5.4, -2.0, 0.4, 0.5, 0.2},  // high cheekbones
      {20.6, 22.6, 16.4, 85.0, 96.0, 4.8, -0.5, 0.3, 0.6, 0.1},  // diamond
      {21.2, 21.8, 17.2, 87.5, 97.4, 6.0, -1.5, 0.2, 0.3, 0.5},  // hollow cheeks
      {20.6, 20.6, 19.4, 86.0, 95.4, 8.4, 1.5, 0.5, 0.0, 0.0},   // flat cheeks, wide jaw
      {22.0, 21.8, 18.0, 86.0, 97.4, 7.4, 0.0, 0.3, 0.2, 0.1},   // jutting chin
      {22.4, 22.2, 17.8, 84.0, 93.6, 6.4, 0.5, 1.0, 0.2, 0.0},   // receding chin
      {22.9, 22.6, 19.8, 88.0, 96.0, 8.0, 1.0, 0.7, 0.0, 0.0},   // heavy
      {21.0, 21.4, 17.0, 83.5, 95.8, 5.0, -1.0, 0.0, 0.6, 0.3},  // angular
  };
  const Head& h = kHeadShapes[c.head];
  f.age = (c.age + rng.Unit()) / kAges;
  // A head is broader or narrower as a whole, on top of the jitter of each width.
  const double broad = jitter(0.6);
  f.templeHalf = Fold(h.temple + broad + jitter(0.8), kTempleHalfMin, kTempleHalfMax);
  f.cheekHalf = Fold(h.cheek + broad + jitter(0.8), kCheekHalfMin, kCheekHalfMax);
  f.jawHalf = Fold(h.jaw + broad + jitter(0.9) + f.age * 0.5, kJawHalfMin, kJawHalfMax);
  f.jawY = Fold(h.jawY + jitter(1.4), kJawCornerMin, kJawCornerMax);
  f.chinY = Fold(h.chin + jitter(1.0), kChinMin, kChinMax);
  f.chinHalf = h.chinHalf + jitter(1.0);
  f.cheekShift = h.cheekShift + jitter(0.8);
  f.jawRound = std::clamp(h.jawRound + jitter(0.15), 0.0, 1.0);
  f.chinPoint = std::clamp(h.chinPoint + jitter(0.15), 0.0, 1.0);
  f.neckHalf =
      Fold(kNeckHalf + jitter(0.7) + (f.jawHalf - 18.5) * 0.2, kNeckHalf - 0.8, kNeckHalf + 0.8);
  f.relief = rng.Range(0.75, 1.3);
  f.cheekHollow = h.hollow + f.age * 0.6 + rng.Range(0, 0.3);

  // Skin: a step of the ethnicity's range, kept warm.
  const Tone range = SkinRange(ethnicity);
  const double t = (c.tone + rng.Unit()) / kTones;
  f.skin = Mix(range.light, range.dark, t);
  // Undertones differ between people: rosier, more golden or more olive, always warm.
  const double warmth = jitter(0.035);
  const double olive = jitter(0.018);
  f.skin.r = std::clamp(f.skin.r + warmth * 0.5, 0.0, 1.0);
  f.skin.g = std::clamp(f.skin.g + olive, 0.0, 1.0);
  f.skin.b = std::clamp(f.skin.b - warmth, 0.0, 1.0);
  // Cheek colour shows on light skin only.
  f.blush = rng.Range(0.02, 0.1) * (1.0 - t) *
            (ethnicity == Ethnicity::kCaucasian ? 1.5
             : ethnicity == Ethnicity::kAfrican ? 0.0
                                                : 0.7);
  f.hair = PickHair(ethnicity, rng);
  f.hairStyle = PickHairStyle(ethnicity, rng);
  f.seed = rng.Next();
  f.sideburnEnd = rng.Range(50.0, 61.0);
  f.hairDepth = rng.Range(0.6, 2.6);
  f.sideburnWidth = rng.Range(1.6, 3.4);

  // Eyes in families of shape (round, almond, narrow, downturned, upturned), lid (crease,
  // hooded, heavy), depth and spacing (close, average, wide).
  struct Eye {
    double width, height, tilt, crease, heavy, spacing, depth;
  };
  constexpr Eye kEyeShapes[kEyes] = {
      {8.8, 4.2, 0.0, 0.8, 0.1, 8.8, 0.2},  {8.6, 4.1, 0.1, 0.8, 0.1, 9.5, 0.1},
      {9.0, 3.6, 0.5, 0.6, 0.2, 8.9, 0.3},  {8.6, 3.5, 0.6, 0.6, 0.2, 8.2, 0.3},
      {8.6, 3.1, 0.2, 0.5, 0.3, 9.0, 0.4},  {8.8, 3.0, 0.3, 0.4, 0.3, 9.6, 0.2},
      {8.6, 3.6, -0.6, 0.6, 0.3, 8.8, 0.3}, {8.2, 3.5, -0.7, 0.7, 0.4, 8.1, 0.4},
      {8.8, 3.2, 0.1, 0.3, 0.7, 9.0, 0.5},  {8.4, 3.1, 0.0, 0.2, 0.8, 8.5, 0.9},
      {8.6, 3.6, 0.9, 0.6, 0.1, 9.0, 0.2},  {8.4, 3.4, 1.0, 0.5, 0.2, 9.6, 0.1},
      {8.4, 3.5, 0.1, 0.9, 0.2, 8.6, 1.0},  {8.6, 3.4, 0.2, 0.9, 0.3, 9.4, 0.9},
      {9.4, 4.4, 0.1, 0.9, 0.0, 9.2, 0.1},  {7.8, 3.3, 0.2, 0.6, 0.3, 8.0, 0.5},
      {8.8, 3.0, -0.2, 0.4, 1.0, 8.9, 0.4}, {9.4, 3.5, 0.4, 0.7, 0.2, 9.4, 0.3},
      {8.8, 4.0, -0.1, 0.3, 0.1, 9.0, 0.0}, {8.2, 3.0, 0.4, 0.5, 0.4, 8.1, 0.6},
  };
  const Eye& e = kEyeShapes[c.eyes];
  f.eyeSpacing = Fold(e.spacing + jitter(0.25), kEyeSpacingMin, kEyeSpacingMax);
  f.eyeY = kEyeY + jitter(0.6);
  f.eyeWidth = std::min(e.width + jitter(0.4), 2 * (f.eyeSpacing - 3.4));
  f.eyeHeight = e.height + jitter(0.25);
  f.eyeTilt = e.tilt + jitter(0.2);
  f.lidCrease = e.crease;
  f.lidHeavy = e.heavy + f.age * 0.2;
  f.eyeDepth = e.depth;
  if (ethnicity == Ethnicity::kAsian) {
    f.eyeHeight *= 0.82;
    f.eyeTilt += 0.35;
    f.lidCrease = rng.Chance(0.65) ? 0.0 : 0.25;
    f.lidHeavy = std::min(1.0, f.lidHeavy + 0.3);
  }
  f.iris = PickIris(ethnicity, rng);
  f.irisSize = rng.Range(1.9, 2.3);
  f.gaze = jitter(0.35);

  // Brows: weight, arch, slant of the outer end, length, taper, height and gap.
  struct Brow {
    double thick, arch, slant, length, taper, lift, inner;
  };
  constexpr Brow kBrowShapes[kBrows] = {
      {2.2, 0.5, 0.0, 1.0, 0.2, 0.0, 0.0},    {1.9, 1.5, 0.6, 1.0, 0.5, 0.2, 0.0},
      {1.4, 0.9, 0.3, 0.95, 0.5, 0.0, 0.3},   {2.3, 0.7, -0.9, 1.0, 0.2, -0.6, -0.3},
      {2.9, 0.8, 0.2, 1.05, 0.0, 0.0, 0.0},   {1.5, 2.0, 0.8, 0.95, 0.7, 0.5, 0.3},
      {2.7, 0.2, 0.1, 1.1, 0.1, -0.3, 0.0},   {2.0, 1.8, 1.0, 1.0, 0.6, 0.0, 0.2},
      {2.6, 0.6, 0.2, 0.8, 0.2, 0.0, 0.6},    {2.0, 1.0, 0.8, 1.15, 0.8, 0.2, 0.0},
      {2.0, 0.4, 1.2, 1.0, 0.4, 0.6, 0.2},    {1.5, 0.3, 0.1, 1.0, 0.3, 0.3, 0.0},
      {2.1, 1.2, 0.4, 1.05, 0.4, 0.0, 0.0},   {2.8, 0.6, -0.2, 1.05, 0.1, -0.7, -0.2},
      {2.2, 1.4, 0.2, 0.95, 0.3, 0.3, 0.2},   {1.6, 0.8, 0.3, 0.9, 0.5, 0.2, 0.4},
      {2.7, 0.9, -0.6, 1.0, 0.2, -0.4, -0.3}, {1.9, 0.8, 0.3, 0.85, 0.3, 0.1, 0.9},
      {2.6, 1.6, 0.7, 1.05, 0.4, 0.1, 0.0},   {2.4, 0.6, 0.1, 1.05, 0.2, -0.2, -0.6},
  };
  const Brow& b = kBrowShapes[c.brows];
  f.browInner = std::clamp(rng.Range(2.2, 3.2) + b.inner, 1.6, 4.2);
  f.browLength = rng.Range(9.8, 11.6) * b.length;
  f.browThick = b.thick + jitter(0.35);
  f.browArch = b.arch + jitter(0.45);
  f.browSlant = b.slant + jitter(0.3);
  f.browTaper = b.taper;
  f.browLift = std::clamp(5.6 + b.lift + jitter(0.4), 5.0, 6.2);

  // Noses: straight, broad, long, short, strong, hooked, button, narrow, flat, roman, snub,
  // bulbous, thin, bumped, wide and long, small.
  struct Nose {
    double tip, width, bridge, tipSize, hook;
  };
  constexpr Nose kNoses_[kNoses] = {
      {72.0, 8.6, 0.6, 1.6, 0.0}, {72.3, 11.2, 0.4, 2.1, 0.0}, {73.2, 9.4, 0.7, 1.8, 0.0},
      {71.0, 9.0, 0.4, 1.9, 0.0}, {72.8, 9.8, 1.0, 2.0, 0.2},  {72.8, 9.2, 1.0, 1.8, 1.0},
      {71.2, 8.4, 0.3, 2.3, 0.0}, {73.4, 7.8, 0.8, 1.4, 0.2},  {71.8, 12.0, 0.2, 2.2, 0.0},
      {73.0, 9.6, 1.0, 1.9, 0.6}, {70.8, 9.6, 0.3, 2.0, 0.0},  {72.4, 10.2, 0.5, 2.6, 0.0},
      {72.2, 7.8, 0.7, 1.3, 0.0}, {72.4, 9.4, 0.8, 1.8, 0.5},  {73.2, 11.0, 0.6, 2.2, 0.0},
      {71.4, 8.0, 0.4, 1.5, 0.0},
  };
  const Nose& n = kNoses_[c.nose];
  f.noseTipY = n.tip + jitter(0.4);
  f.noseWidth = n.width + jitter(0.5);
  f.noseBridge = n.bridge + jitter(0.15);
  f.noseTip = n.tipSize + jitter(0.2);
  f.noseHook = n.hook;
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
  f.noseTipY = Fold(f.noseTipY, kNoseTipMin, kNoseTipMax);
  f.noseWidth = std::min(f.noseWidth, 13.0);

  // Mouths: fourteen neutral shapes, a slight smile, a closed smile and a set jaw.
  struct Mouth {
    double width, upper, lower, curve, skew, smile, set;
  };
  constexpr Mouth kMouths_[kMouths] = {
      {16.5, 1.4, 2.2, 0.2, 0.0, 0, 0},   {14.5, 1.9, 2.8, 0.0, 0.0, 0, 0},
      {15.0, 2.5, 3.5, 0.1, 0.0, 0, 0},   {12.5, 2.0, 3.0, -0.1, 0.0, 0, 0},
      {14.5, 1.7, 2.6, 0.3, 0.6, 0, 0},   {15.0, 1.8, 2.6, -0.5, 0.0, 0, 0},
      {14.8, 1.3, 3.3, 0.0, 0.0, 0, 0},   {17.0, 2.3, 3.2, 0.1, 0.0, 0, 0},
      {12.8, 2.6, 3.2, 0.1, 0.0, 0, 0},   {13.2, 1.3, 1.9, 0.0, 0.0, 0, 0},
      {14.0, 2.2, 3.6, -0.2, 0.0, 0, 0},  {15.5, 1.8, 2.6, 0.1, 0.9, 0, 0},
      {15.0, 2.8, 2.8, 0.0, 0.0, 0, 0},   {15.5, 1.8, 2.6, 0.7, 0.0, 0.5, 0},
      {16.5, 1.6, 2.4, 1.2, 0.0, 1.0, 0}, {14.5, 1.3, 1.8, -0.2, 0.0, 0, 1.0},
  };
  const Mouth& m = kMouths_[c.mouth];
  f.mouthY = kMouthY + jitter(0.7);
  f.mouthWidth = m.width + jitter(0.8);
  f.upperLip = m.upper + 0.3 + jitter(0.2) - f.age * 0.2;
  f.lowerLip = m.lower + 0.3 + jitter(0.3) - f.age * 0.2;
  f.mouthCurve = m.curve + jitter(m.smile > 0 ? 0.15 : 0.35);
  f.mouthSkew = m.skew * (rng.Chance(0.5) ? 1 : -1) + jitter(0.15);
  f.smile = m.smile;
  f.setJaw = m.set;
  if (ethnicity == Ethnicity::kAfrican) {
    f.upperLip += 0.7;
    f.lowerLip += 0.8;
    f.mouthWidth += 0.8;
  }
  f.mouthWidth = std::min(f.mouthWidth, 18.0);
  const Rgb lipTint = Bytes(176, 92, 86);
  const double lipColour = rng.Range(0.35, 0.65);
  f.lip = Mix(f.skin, Scale(lipTint, 0.55 + 0.45 * (1 - t)), lipColour);
  if (ethnicity == Ethnicity::kAfrican) f.lip = Mix(f.skin, Bytes(136, 64, 64), lipColour - 0.05);
  if (ethnicity == Ethnicity::kAsian) {
    f.cheekHalf = std::min(f.cheekHalf + 0.4, kCheekHalfMax);
    f.browArch *= 0.6;
  }

  // Ears: small and flat, small and standing out, medium, large, large and standing out.
  struct Ear {
    double height, outMin, outMax;
  };
  constexpr Ear kEarShapes[kEars] = {
      {13.0, 3.4, 4.0}, {13.2, 4.5, 5.2}, {14.6, 3.8, 4.6}, {16.2, 3.8, 4.6}, {16.2, 4.7, 5.2}};
  const Ear& ear = kEarShapes[c.ears];
  f.earHeight = ear.height + jitter(0.5);
  f.earTop = kEarTop + rng.Range(0.0, 1.5);
  f.earOut = rng.Range(ear.outMin, ear.outMax);

  // Shaved beard shadow on dark-haired men, a cleft in some chins, grey at the temples with age.
  const double hairLuma = Luma(f.hair);
  f.beardShadow = rng.Chance(hairLuma < 0.3 ? 0.7 : 0.35) ? rng.Range(0.04, 0.2) : 0.0;
  if (ethnicity == Ethnicity::kAsian) f.beardShadow *= 0.7;
  f.chinCleft = c.head == 2 || c.head == 4 ? (rng.Chance(0.4) ? rng.Range(0.5, 1.0) : 0.0) : 0.0;
  f.hairGrey = 0.0;
  if (f.age > 0.8 && rng.Chance(0.5)) {
    f.hairGrey = kHairGreyed;
    f.hair = Mix(f.hair, kGreyHair, f.hairGrey);
  }

  // Marks on a few faces: freckles on light skin, a mole, a small scar.
  const double frecklesChance = ethnicity == Ethnicity::kCaucasian ? 0.08 * (1.0 - t) : 0.01;
  f.freckles = rng.Chance(frecklesChance) ? rng.Range(0.5, 1.0) : 0.0;
  if (rng.Chance(0.04)) {
    const int side = rng.Chance(0.5) ? 1 : -1;
    f.moleX = kCentreX + side * rng.Range(6.0, 14.0);
    f.moleY = rng.Range(66.0, 88.0);
    f.moleSize = rng.Range(0.55, 0.85);
  }
  if (rng.Chance(0.02)) {
    const int side = rng.Chance(0.5) ? 1 : -1;
    f.scarX = kCentreX + side * rng.Range(8.0, 13.0);
    f.scarY = rng.Chance(0.5) ? rng.Range(50.0, 54.0) : rng.Range(68.0, 78.0);
    f.scarAngle = rng.Range(-0.9, 0.9);
    f.scarLength = rng.Range(2.5, 4.5);
  }
  return f;
}

// How far apart two faces come out as pictures, estimated from their parameters: each term is
// roughly the mean difference of the head area's bytes that the parameter makes (an outline
// that moves by a pixel over its height, a colour over the area it covers).
struct Look {
  std::array<double, 22> v;
  HairStyle style;
};

// Pixels of hair that each style shows below the cap, roughly.
constexpr double kHairArea[kHairStyles] = {60,  100, 130, 150, 330, 480,
                                           260, 300, 420, 360, 430, 220};

Look LookOf(const FaceParams& f) {
  // A pixel of the head area is 4 of its 4968 x 4 bytes; an outline pixel turns skin into clear.
  constexpr double kPx = 1.0 / (4968.0 * 4.0);
  const double skinBytes = 255.0 * (f.skin.r + f.skin.g + f.skin.b);
  const double edge = (skinBytes + 255.0) * kPx;
  constexpr double kSkinArea = 3000;  // skull under the cap, face, ears and neck
  const double hairArea = kHairArea[static_cast<int>(f.hairStyle)];
  Look l{};
  int k = 0;
  // The weights are fitted to the pixel distances of near pairs of a written kit.
  l.v[k++] = f.templeHalf * 2 * 30 * edge * 0.35;
  l.v[k++] = f.cheekHalf * 2 * 26 * edge * 0.26;
  l.v[k++] = f.cheekShift * 2 * 6 * edge * 0.7;
  l.v[k++] = f.jawHalf * 2 * 16 * edge * 0.32;
  l.v[k++] = f.jawY * 2 * 5 * edge * 0.4;
  l.v[k++] = f.chinY * f.chinHalf * 2 * edge * 0.1;
  l.v[k++] = f.jawRound * 2 * 12 * edge * 1.4;
  l.v[k++] = f.neckHalf * 2 * 6 * edge;
  l.v[k++] = f.earOut * 2 * f.earHeight * 0.6 * edge * 0.7;
  l.v[k++] = f.earHeight * 2 * 3 * edge * 0.45;
  l.v[k++] = 255.0 * f.skin.r * kSkinArea * kPx * 0.35;
  l.v[k++] = 255.0 * f.skin.g * kSkinArea * kPx * 0.35;
  l.v[k++] = 255.0 * f.skin.b * kSkinArea * kPx * 0.35;
  // Hair: its colour over its area, and the area itself against the skin it covers.
  const double hairBytes = 255.0 * (f.hair.r + f.hair.g + f.hair.b);
  l.v[k++] = 255.0 * f.hair.r * hairArea * kPx * 0.6;
  l.v[k++] = 255.0 * f.hair.g * hairArea * kPx * 0.6;
  l.v[k++] = 255.0 * f.hair.b * hairArea * kPx * 0.6;
  l.v[k++] = hairArea * std::abs(skinBytes - hairBytes) * 1.5 * kPx * 0.4;
  l.v[k++] = f.sideburnEnd * 2 * f.sideburnWidth * std::abs(skinBytes - hairBytes) * kPx * 0.15;
  // Features: dark strokes on the skin.
  const double dark = skinBytes * 0.6 * kPx;
  l.v[k++] = (f.browThick * f.browLength * 2 * dark + f.browLift * f.browLength * 2 * dark) * 0.8;
  l.v[k++] = f.eyeWidth * f.eyeHeight * 2 * dark + f.eyeSpacing * 2 * f.eyeHeight * dark;
  l.v[k++] =
      (f.mouthWidth * (f.upperLip + f.lowerLip) * dark * 0.7 + f.mouthY * f.mouthWidth * dark) *
      0.15;
  l.v[k++] = f.relief * 400 * skinBytes * 0.15 * kPx * 0.8;
  l.style = f.hairStyle;
  return l;
}

double LookDistance(const Look& a, const Look& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.v.size(); ++i) sum += std::abs(a.v[i] - b.v[i]);
  // Two styles of hair differ in shape as well as in area.
  return sum + (a.style == b.style ? 0.0 : 1.0);
}

// Faces of a folder chosen one after another: each face takes, of its candidates, the one that
// lies farthest from every face chosen before it (best-candidate sampling), so that no two faces
// of a folder come out near twins. The candidates of face n are draws n, n + count, ..., which no
// other face is offered, so faces still never share all their discrete choices.
constexpr int kCandidates = 24;

std::vector<FaceParams> ChooseFolder(Ethnicity ethnicity, int count) {
  std::vector<FaceParams> faces;
  std::vector<Look> looks;
  faces.reserve(static_cast<std::size_t>(count));
  looks.reserve(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) {
    FaceParams best{};
    Look bestLook{};
    double bestNearest = -1;
    HairStyle style = HairStyle::kShort;
    for (int k = 0; k < kCandidates; ++k) {
      FaceParams cand = DrawCandidate(ethnicity, n + k * count);
      // The hair style stays the first draw's, so that styles keep their frequencies (the
      // farthest candidate would favour the rare, large ones).
      if (k == 0) style = cand.hairStyle;
      cand.hairStyle = style;
      const Look look = LookOf(cand);
      double nearest = std::numeric_limits<double>::max();
      for (const Look& other : looks) {
        nearest = std::min(nearest, LookDistance(look, other));
        if (nearest <= bestNearest) break;
      }
      if (nearest > bestNearest) {
        bestNearest = nearest;
        best = cand;
        bestLook = look;
      }
    }
    faces.push_back(best);
    looks.push_back(bestLook);
  }
  return faces;
}

}  // namespace

FaceParams ChooseFace(Ethnicity ethnicity, int index) {
  for (const EthnicityInfo& info : kEthnicities) {
    if (info.ethnicity != ethnicity || index < 0 || index >= info.count) continue;
    static std::array<std::once_flag, kEthnicities.size()> once;
    static std::array<std::vector<FaceParams>, kEthnicities.size()> chosen;
    const auto e = static_cast<std::size_t>(ethnicity);
    std::call_once(once[e], [&] { chosen[e] = ChooseFolder(ethnicity, info.count); });
    return chosen[e][static_cast<std::size_t>(index)];
  }
  return DrawCandidate(ethnicity, index);
}

FaceParams PlainFace() {
  FaceParams f = DrawCandidate(Ethnicity::kCaucasian, 0);
  f.templeHalf = 21.8;
  f.cheekHalf = 22.0;
  f.jawHalf = 18.8;
  f.jawY = 86.0;
  f.chinY = 95.5;
  f.chinHalf = 6.5;
  f.neckHalf = kNeckHalf;
  f.relief = 1.0;
  f.skin = Bytes(226, 182, 148);
  f.hair = Bytes(70, 50, 36);
  f.eyeSpacing = 9.4;
  f.eyeY = kEyeY;
  f.eyeWidth = 8.6;
  f.eyeHeight = 3.8;
  f.eyeDepth = 0.3;
  f.hairStyle = HairStyle::kShort;
  f.sideburnEnd = 54.0;
  f.hairDepth = 1.2;
  f.cheekShift = 0;
  f.jawRound = 0.6;
  f.chinPoint = 0.2;
  f.browTaper = 0.3;
  f.noseHook = 0;
  f.smile = 0;
  f.setJaw = 0;
  f.freckles = 0;
  f.moleSize = 0;
  f.scarLength = 0;
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

FaceParams BrownHaired(FaceParams face) {
  // The same sums as the draw's, so an equal colour is the blonde of the draw.
  const Rgb drawnBlonde = Mix(kCaucasianBlonde, kGreyHair, face.hairGrey);
  if (face.hair.r == drawnBlonde.r && face.hair.g == drawnBlonde.g &&
      face.hair.b == drawnBlonde.b) {
    face.hair = Mix(kLightBrown, kGreyHair, face.hairGrey);
  }
  return face;
}

FaceParams BlondeHaired(FaceParams face) {
  // Its own draw, so that the face's other draws stay as they are.
  Rng rng("blonde hair", face.seed);
  const Rgb blonde = kBlondes[rng.Below(static_cast<int>(std::size(kBlondes)))];
  face.hair = Mix(blonde, kGreyHair, face.hairGrey);
  return face;
}

}  // namespace likentor::artgen
