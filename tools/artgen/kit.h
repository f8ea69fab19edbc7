#pragma once
// Writing the whole kit: every picture of the program folder's graphics tree, on all cores.
#include <filesystem>
#include <functional>
#include <vector>

#include "raster.h"

namespace likentor::artgen {

// Runs the jobs on `threads` workers; rethrows the first failure after all have stopped.
void RunParallel(const std::vector<std::function<void()>>& jobs, unsigned threads);

// Face `number` (1-based) of an ethnicity folder, as written to the kit: RGBA, the face file's
// own size (it is drawn at 7, 4). A caucasian face is brown-haired, or with `blonde` the same
// face blonde-haired.
Image MakeFaceImage(int ethnicityIndex, int number, bool blonde = false);
Image MakeUniformPreviewFace();
Image MakeFacialHairPreviewFace();

// Writes programFolder/graphics; returns the number of files written.
int WriteKit(const std::filesystem::path& programFolder, unsigned threads);

}  // namespace likentor::artgen
