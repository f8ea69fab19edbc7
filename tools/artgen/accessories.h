#pragma once
// Accessories: 1 a bat on a right-handed batter's shoulder, 2 on a left-handed batter's, 3 a glove
// on a right-handed pitcher's (left) hand, 4 on a left-handed pitcher's (right) hand.
#include "raster.h"

namespace likentor::artgen {

inline constexpr int kAccessoryCount = 4;
Image MakeAccessory(int number);

}  // namespace likentor::artgen
