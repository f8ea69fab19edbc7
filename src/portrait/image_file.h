#pragma once

// Reading and writing whole image files, and the messages of image load and save failures. Used by
// the BMP, PNG and JPEG codecs of this folder.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "shell/platform.h"

namespace likentor {

// Images larger than this many pixels are refused before any pixel memory is taken, so that a
// damaged header cannot ask for gigabytes. Artwork is 90 x 135; photos are a few megapixels.
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 25;
inline constexpr int kMaxImageSide = 65535;
inline constexpr std::uintmax_t kMaxImageFileBytes = std::uintmax_t{256} << 20;
// The largest file taken as a layer of the artwork kit (a face, facial hair, an accessory, a
// uniform, a background: 90 x 135 pixels, a few tens of kilobytes): a larger one is refused from
// its size alone, before a byte of it is read.
inline constexpr std::uintmax_t kMaxLayerFileBytes = std::uintmax_t{8} << 20;

// The whole file. Throws Error "Cannot load image "<file>": the file does not exist." (or cannot
// be read).
std::vector<std::uint8_t> ReadImageFile(const std::filesystem::path& file);

// How a write left the file: `unchanged` when it held these bytes already (and was not touched),
// and its size and modification time.
struct WrittenImage {
  bool unchanged = false;
  FileSizeAndTime stamp;
};
// Replaces the file with the bytes at once (PublishFile: never a part-written file under its name;
// with `leaveSame` a file with the same bytes is left alone). Throws Error "Cannot write image
// "<file>": ..." on failure.
WrittenImage WriteImageFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                            bool leaveSame = true);

// "Cannot load image "<name>": <what>."
std::string LoadErrorMessage(const std::string& name, const std::string& what);
[[noreturn]] void ThrowLoadError(const std::string& name, const std::string& what);

// Checks a decoded size against the limits above; throws the load error otherwise.
void CheckImageSize(const std::string& name, std::int64_t width, std::int64_t height);

}  // namespace likentor
