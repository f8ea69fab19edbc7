#pragma once
// Reading the kit back for the tests: PNG files as they are stored (colour type kept) and the
// header of BMP files; and finding a generated kit to test.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace likentor::test {

struct PngFile {
  int width = 0;
  int height = 0;
  int colourType = -1;  // 2 RGB, 6 RGB with alpha
  int bitDepth = 0;
  int channels = 0;
  std::vector<std::uint8_t> pixels;  // rows of `channels` bytes per pixel

  const std::uint8_t* At(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * channels;
  }
};

// Decodes an 8-bit RGB or RGBA PNG without conversion; throws std::runtime_error otherwise.
PngFile ReadPngFile(const std::filesystem::path& path);

struct BmpFile {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<std::uint8_t> rgb;  // top-down rows, 3 bytes per pixel
};
BmpFile ReadBmpFile(const std::filesystem::path& path);

// The program folder's graphics/ written by the build, or, when the build was told not to draw
// the artwork, a kit drawn once into a temporary folder by likentor-artgen.
const std::filesystem::path& KitGraphics();

}  // namespace likentor::test
