#pragma once
// The contact sheet: the kit laid out side by side, read back from a program folder, with a dozen
// portraits composed layer by layer the way the program composes them.
#include <filesystem>

#include "raster.h"

namespace likentor::artgen {

// The portrait layering, on an RGB canvas: per-pixel alpha blend of a layer at (x, y), and the
// black-keyed overlay of a uniform bitmap.
void DrawLayer(Image& canvas, const Image& layer, int x, int y);
void TransOverlay(Image& canvas, const Image& bitmap);

void WriteSheet(const std::filesystem::path& programFolder, const std::filesystem::path& out);

}  // namespace likentor::artgen
