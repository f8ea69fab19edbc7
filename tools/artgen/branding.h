#pragma once
// The program's own pictures: the window icon in several sizes, the dashboard's background and
// the about box's logo.
#include "raster.h"

namespace likentor::artgen {

inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
inline constexpr int kDashboardWidth = 728;
inline constexpr int kDashboardHeight = 520;
inline constexpr int kLogoSize = 89;

Image MakeIcon(int size);  // RGBA, size x size
Image MakeDashboard();     // RGB
Image MakeLogo();          // RGB, 89 x 89

}  // namespace likentor::artgen
