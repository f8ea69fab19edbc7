#include "portrait/png_image.h"

#include "portrait/image_file.h"
#include "shell/error.h"

namespace likentor {

PngImage::PngImage(int width, int height, bool withAlpha) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
      static_cast<std::int64_t>(width) * height > kMaxImagePixels) {
    throw Error("Cannot create a PNG image of " + std::to_string(width) + " x " +
                std::to_string(height) + " pixels.");
  }
  width_ = width;
  height_ = height;
  colorType_ = withAlpha ? kPngRgbAlpha : kPngRgb;
  bitDepth_ = 8;
  channels_ = withAlpha ? 4 : 3;
  pixels_.assign(RowBytes() * static_cast<std::size_t>(height), 0);
}

PngImage PngImage::Load(const std::filesystem::path& file) {
  return Decode(ReadImageFile(file), file.string());
}

void PngImage::Save(const std::filesystem::path& file, const PngWriteOptions& options) const {
  WriteImageFile(file, Encode(options));
}

}  // namespace likentor
