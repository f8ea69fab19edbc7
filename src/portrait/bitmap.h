#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "portrait/color.h"

namespace likentor {

// An RGB raster, 3 bytes per pixel (red, green, blue), rows top to bottom without padding. Created
// blank (black) at a given size, or read from a Windows BMP file or a JPEG. Copyable; a copy is a
// deep copy of the pixels.
class Bitmap {
 public:
  Bitmap() = default;
  // A black bitmap. Throws Error for a negative size or one too large to hold.
  Bitmap(int width, int height);

  // Reads a BMP file: 24-bit as the artwork uses, and also 1, 4, 8, 16 and 32 bits per pixel,
  // bottom-up or top-down. Throws Error naming the file and the fault for a missing file, a file
  // that is not a BMP, compressed (RLE) data or damaged contents.
  static Bitmap LoadBmp(const std::filesystem::path& file);
  // The same from bytes in memory; `name` stands for the file in error messages.
  static Bitmap DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name);

  // Writes a 24-bit bottom-up BMP (as image editors write them). Throws Error when the file cannot
  // be written.
  void SaveBmp(const std::filesystem::path& file) const;
  std::vector<std::uint8_t> EncodeBmp() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  static constexpr int kChannels = 3;

  // Unchecked pixel access: 0 <= x < Width(), 0 <= y < Height().
  Rgb Pixel(int x, int y) const {
    const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * kChannels;
    return Rgb{p[0], p[1], p[2]};
  }
  void SetPixel(int x, int y, Rgb color) {
    std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * kChannels;
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
  }
  std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * RowBytes();
  }
  std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * kChannels; }

  void Fill(Rgb color);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace likentor
