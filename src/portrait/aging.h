#pragma once

// How long a career shows in a portrait: four age steps by the seasons a player has played. Step 0
// draws nothing over the face; each later step draws its own layers (lines at the eyes and mouth,
// grey at the temples and in the facial hair, and at the last step thinner hair at the temples).

namespace likentor {

inline constexpr int kAgeSteps = 4;
inline constexpr int kSeasonsPerAgeStep = 4;

// 0 to 3 seasons: step 0; 4 to 7: step 1; 8 to 11: step 2; 12 and more: step 3.
constexpr int AgeStep(int seasons) {
  if (seasons < 0) return 0;
  const int step = seasons / kSeasonsPerAgeStep;
  return step < kAgeSteps ? step : kAgeSteps - 1;
}

}  // namespace likentor
