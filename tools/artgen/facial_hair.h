#pragma once
// Facial-hair styles: one layer per style and hair colour, drawn for the program's placement at
// (-1, 2) and kept inside the area of the layout grid that every jaw covers.
#include <array>
#include <string_view>

#include "raster.h"

namespace likentor::artgen {

enum class HairColour { kBrown, kBlonde };

struct FacialHairStyle {
  std::string_view location;  // folder under graphics/facial hair, as in data/facialhair.csv
  int frequency;              // weight of the style for new players (data/facialhair.csv)
};
// In the order of data/facialhair.csv after its first line, "none".
extern const std::array<FacialHairStyle, 14> kFacialHairStyles;

Image MakeFacialHair(std::string_view location, HairColour colour);

}  // namespace likentor::artgen
