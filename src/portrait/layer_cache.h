#pragma once

// The shared layers of a run of portraits, each decoded once and kept for the run: backgrounds,
// default and custom uniforms, generic uniform templates and the uniforms tinted from them per
// colour pair, logos (already resized), the bill underside, facial hair and accessories. The
// images are handed out as shared, read-only pointers, so worker threads can draw them while the
// cache stays on the thread that fills it. Not thread-safe itself.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

#include "portrait/bitmap.h"
#include "portrait/color.h"
#include "portrait/png_image.h"
#include "portrait/uniforms.h"

namespace likentor {

class LayerCache {
 public:
  explicit LayerCache(std::filesystem::path programFolder);

  const std::filesystem::path& ProgramFolder() const { return programFolder_; }

  // A picture that must be there: throws the load error naming the file when it is missing or
  // cannot be decoded.
  std::shared_ptr<const PngImage> Png(const std::filesystem::path& file);
  // A picture that is drawn only when its file exists: null when it does not (remembered). A file
  // that exists but cannot be decoded throws the load error.
  std::shared_ptr<const PngImage> PngIfExists(const std::filesystem::path& file);
  // A logo file resized to side x side with SmoothResize, null when the file does not exist.
  // Throws the load error, or for a logo that is not RGB or RGB with alpha SmoothResize's error
  // followed by the file and `owner` (whose logo it is): "Only COLOR_RGBALPHA and COLOR_RGB
  // formats are supported: the logo "<file>" of <owner>."
  std::shared_ptr<const PngImage> Logo(const std::filesystem::path& file, int side,
                                       std::string_view owner = {});
  // The generic uniform of a design tinted in a colour pair (templates decoded once per design).
  std::shared_ptr<const Bitmap> GenericUniform(int design, ColorValue background, ColorValue text);

  // How many images were decoded (tests and benchmarks check that layers are decoded once).
  int Decodes() const { return decodes_; }

 private:
  std::filesystem::path programFolder_;
  std::map<std::filesystem::path, std::shared_ptr<const PngImage>> pictures_;
  std::map<std::filesystem::path, std::shared_ptr<const PngImage>> logos_;
  std::map<int, UniformTemplates> templates_;
  std::map<std::tuple<int, ColorValue, ColorValue>, std::shared_ptr<const Bitmap>> uniforms_;
  int decodes_ = 0;
};

}  // namespace likentor
