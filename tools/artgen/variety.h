#pragma once
// How far apart the faces of a kit are: for every face of a folder, the distance to its nearest
// other face, as the mean absolute difference of the RGBA bytes over the head area.
#include <filesystem>
#include <string>
#include <vector>

#include "raster.h"

namespace likentor::artgen {

// Mean absolute difference of two face files' RGBA bytes over the head area of the layout grid.
double FaceDistance(const Image& a, const Image& b);

struct FolderVariety {
  std::string folder;
  std::vector<double> nearest;  // per face (in file order), the distance to its nearest other face
  double p1 = 0, median = 0;    // 1st percentile and median of `nearest`
  int closestA = 0, closestB = 0;  // the closest two faces (file numbers)
};

// Reads every face of every folder of programFolder/graphics/faces and measures them.
std::vector<FolderVariety> MeasureVariety(const std::filesystem::path& programFolder,
                                          unsigned threads);

}  // namespace likentor::artgen
