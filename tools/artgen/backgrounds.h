#pragma once
// The 69 backdrops: blurred ballparks, skies, studio gradients, crowd bokeh and dugout walls in
// several palettes, quiet enough to frame the player.
#include "raster.h"

namespace likentor::artgen {

inline constexpr int kBackgroundCount = 69;

// Background `number` (1..69), RGB, 90 x 135.
Image MakeBackground(int number);

}  // namespace likentor::artgen
