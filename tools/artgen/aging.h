#pragma once
// Age layers: what a long career draws over a face of the kit, at age steps 1 to 3 (step 0 draws
// nothing). They are designed on the layout grid, so each fits every face of every folder.
#include <filesystem>
#include <string_view>

#include "raster.h"

namespace likentor::artgen {

inline constexpr int kAgeLayerSteps = 3;

// RGBA 90 x 135, drawn at (0, 0) over the face: lines at the eyes and the mouth, grey at the
// temples and, at the last step, thinner hair there.
Image MakeAgeFace(int step);
// RGBA 90 x 135, drawn at (-1, 2) over the style: its grey at the step.
Image MakeGreyFacialHair(std::string_view location, int step);
// Writes graphics/aging/face <step>.png and the grey of every facial-hair style for the step.
// Returns the files written.
int WriteAgeLayers(const std::filesystem::path& graphics, int step);
// Face number `face` of each face folder of the written kit, with a facial-hair style, at the four
// age steps side by side (the program's order of layers), each drawn `scale` times; for looking
// at the age layers.
void WriteAgeSheet(const std::filesystem::path& programFolder, const std::filesystem::path& out,
                   int face, int scale);

}  // namespace likentor::artgen
