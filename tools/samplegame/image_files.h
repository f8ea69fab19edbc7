#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace likentor::samplegame {

// An 8-bit RGB or RGBA raster, rows top to bottom.
struct Image {
  Image(int w, int h, bool withAlpha)
      : width(w),
        height(h),
        alpha(withAlpha),
        pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * (withAlpha ? 4 : 3)) {}

  void Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255);

  int width;
  int height;
  bool alpha;
  std::vector<std::uint8_t> pixels;
};

// Each throws std::runtime_error naming the file when it cannot be written.
void WritePng(const std::filesystem::path& file, const Image& image);
void WriteJpeg(const std::filesystem::path& file, const Image& image, int quality);
// A valid 1 x 1 GIF: a logo that exists but is not a PNG.
void WriteTinyGif(const std::filesystem::path& file);

}  // namespace likentor::samplegame
