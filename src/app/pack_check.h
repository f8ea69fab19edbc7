#pragma once

// Checking the pictures of a pack folder before anything is installed: each must be a file of at
// most kMaxPackPictureBytes that starts with the PNG signature and decodes to 8-bit RGBA samples at
// its kind's size. A wrong one is passed over with its reason, found from the file's size and
// first bytes before it is read whole, so that a huge file is never read.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/component_packs.h"

namespace likentor {

// One picture (or facial-hair style) of a pack that passed, with the files it makes.
struct PackItem {
  std::filesystem::path source;
  // The files to write below the item's place: the name within the place ("" for the place
  // itself) and the bytes.
  std::vector<std::pair<std::string, std::string>> files;
  int number = 0;
  std::filesystem::path place;  // the file, or the style's folder
};

// The checked pictures of `folder` in name order; the others named in `passedOver`. Error when the
// folder cannot be read.
std::vector<PackItem> ReadPack(PackKind kind, const std::filesystem::path& folder,
                               std::vector<PassedOver>& passedOver);

}  // namespace likentor
