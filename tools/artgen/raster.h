#pragma once
// Plain pixel buffers and their files: PNG through libpng (RGB or RGB with alpha, 8 bits per
// sample, exactly the colour type asked for) and uncompressed 24-bit BMP.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace likentor::artgen {

struct Image {
  int width = 0;
  int height = 0;
  int channels = 4;  // 3: RGB, 4: RGB with straight (not premultiplied) alpha
  std::vector<std::uint8_t> pixels;

  Image() = default;
  Image(int w, int h, int ch) : width(w), height(h), channels(ch), pixels(Size(w, h, ch), 0) {}

  std::uint8_t* At(int x, int y) {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * channels;
  }
  const std::uint8_t* At(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * channels;
  }

 private:
  static std::size_t Size(int w, int h, int ch) {
    return static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * static_cast<std::size_t>(ch);
  }
};

// `number` with zeros before it to `width` digits, as the kit's files are numbered.
std::string Digits(int number, int width);

// Lays an RGB sample `s` with alpha `a` over the opaque pixel `d`, rounding as the program's
// portraits do.
inline void BlendOver(std::uint8_t* d, const std::uint8_t* s, unsigned a) {
  for (int c = 0; c < 3; ++c) {
    d[c] = static_cast<std::uint8_t>((s[c] * a + d[c] * (255 - a) + 255) >> 8);
  }
}

// Writes a PNG of colour type 2 (3 channels) or 6 (4 channels); throws std::runtime_error.
void WritePng(const Image& image, const std::filesystem::path& path);
// Reads an 8-bit PNG, expanded to RGB or RGB with alpha (palette and grey become RGB).
Image ReadPng(const std::filesystem::path& path);

// 24-bit bottom-up BMP of an RGB image (alpha, if any, is dropped).
void WriteBmp(const Image& image, const std::filesystem::path& path);
Image ReadBmp(const std::filesystem::path& path);

// Baseline JPEG of an RGB image, for pictures that the program shows through its JPEG decoder.
void WriteJpeg(const Image& image, const std::filesystem::path& path, int quality);

// Three box blurs in both directions (close to a Gaussian), edges clamped; works on all channels.
void Blur(Image& image, int radius);

}  // namespace likentor::artgen
