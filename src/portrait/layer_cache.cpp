#include "portrait/layer_cache.h"

#include <system_error>

#include "portrait/image_file.h"
#include "portrait/image_operations.h"
#include "shell/error.h"

namespace likentor {

namespace {

bool FileExists(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec);
}

}  // namespace

LayerCache::LayerCache(std::filesystem::path programFolder)
    : programFolder_(std::move(programFolder)) {}

std::shared_ptr<const PngImage> LayerCache::Png(const std::filesystem::path& file) {
  auto found = pictures_.find(file);
  if (found != pictures_.end() && found->second) return found->second;
  // A layer is small: a huge file under its name is refused from its size, never read whole.
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (!ec && size > kMaxLayerFileBytes) {
    ThrowLoadError(file.string(), "the file is too large for a layer (" +
                                      std::to_string(size >> 20) + " MB, at most " +
                                      std::to_string(kMaxLayerFileBytes >> 20) + " MB)");
  }
  auto image = std::make_shared<const PngImage>(PngImage::Load(file));
  ++decodes_;
  pictures_[file] = image;
  return image;
}

std::shared_ptr<const PngImage> LayerCache::PngIfExists(const std::filesystem::path& file) {
  auto found = pictures_.find(file);
  if (found != pictures_.end()) return found->second;
  if (!FileExists(file)) {
    pictures_.emplace(file, nullptr);
    return nullptr;
  }
  return Png(file);
}

std::shared_ptr<const PngImage> LayerCache::Logo(const std::filesystem::path& file, int side,
                                                 std::string_view owner) {
  auto found = logos_.find(file);
  if (found != logos_.end()) return found->second;
  std::shared_ptr<const PngImage> logo;
  if (FileExists(file)) {
    PngImage image = PngImage::Load(file);
    ++decodes_;
    try {
      SmoothResize(image, side, side);
    } catch (const Error& unsupported) {
      throw Error(std::string(unsupported.what()) + ": the logo \"" + file.string() + "\"" +
                  (owner.empty() ? std::string() : " of " + std::string(owner)) + ".");
    }
    logo = std::make_shared<const PngImage>(std::move(image));
  }
  logos_.emplace(file, logo);
  return logo;
}

std::shared_ptr<const Bitmap> LayerCache::GenericUniform(int design, ColorValue background,
                                                         ColorValue text) {
  const auto key = std::make_tuple(design, background, text);
  auto found = uniforms_.find(key);
  if (found != uniforms_.end()) return found->second;
  auto templates = templates_.find(design);
  if (templates == templates_.end()) {
    templates = templates_.emplace(design, LoadUniformTemplates(programFolder_, design)).first;
    ++decodes_;
  }
  auto uniform =
      std::make_shared<const Bitmap>(BuildGenericUniform(templates->second, background, text));
  uniforms_.emplace(key, uniform);
  return uniform;
}

}  // namespace likentor
