#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "portrait/color.h"

namespace likentor {

// The PNG colour types of the file format.
inline constexpr int kPngGray = 0;
inline constexpr int kPngRgb = 2;
inline constexpr int kPngPalette = 3;
inline constexpr int kPngGrayAlpha = 4;
inline constexpr int kPngRgbAlpha = 6;

// Row filters of the PNG encoder. One fixed filter saves libpng's per-row choice (about a third of
// the encoding time of a portrait); Adaptive tries them all on every row.
enum class PngFilters {
  None,  // rows unfiltered: compresses worst
  Sub,
  Up,
  Paeth,     // one fixed filter: near the size of Adaptive on portraits, faster
  Adaptive,  // the encoder picks a filter per row
};

struct PngWriteOptions {
  int zlibLevel = 1;  // 0 (store) to 9 (smallest)
  PngFilters filters = PngFilters::Adaptive;
};

// A decoded PNG. It keeps the colour type and bit depth of its file, and holds its pixels as 8-bit
// RGB, or 8-bit RGB with one alpha value per pixel (RGBA) when the file carries transparency beyond
// one colour: colour type 6 always, and the other types as libpng's expansions give them (palette
// and grey become RGB, 16-bit samples are scaled to 8 bits, a tRNS chunk becomes alpha). An 8-bit
// RGB file with a tRNS chunk keeps that one transparent colour instead.
//
// Writing a pixel (the canvas) changes the colour samples and leaves the alpha values alone.
// Copyable (deep copy).
class PngImage {
 public:
  PngImage() = default;
  // A blank 8-bit image of colour type 6 (withAlpha) or 2: every sample 0, alpha 0 included.
  // Throws Error for a size that is not positive or too large.
  PngImage(int width, int height, bool withAlpha);

  // Decodes a PNG file. Throws Error "Cannot load image "<file>": <what is wrong>." for a missing
  // file, a file that is not a PNG, and damaged or cut-short data; never crashes whatever the
  // bytes.
  static PngImage Load(const std::filesystem::path& file);
  // The same from bytes in memory; `name` stands for the file in error messages.
  static PngImage Decode(std::span<const std::uint8_t> bytes, const std::string& name);

  // Encodes as an 8-bit PNG of colour type 6 when the image has alpha, else of colour type 2 (with
  // its transparent colour as tRNS). That is the image's own colour type for types 2 and 6.
  std::vector<std::uint8_t> Encode(const PngWriteOptions& options = {}) const;
  // Encodes and replaces the file. Throws Error "Cannot write image "<file>": ..." on failure.
  void Save(const std::filesystem::path& file, const PngWriteOptions& options = {}) const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Colour type and bit depth as the file had them (2 or 6 and 8 for images made here).
  int ColorType() const { return colorType_; }
  int BitDepth() const { return bitDepth_; }
  bool HasAlpha() const { return channels_ == 4; }
  int Channels() const { return channels_; }  // 3 (RGB) or 4 (RGBA) bytes per pixel
  // The one transparent colour of an RGB image (tRNS of an 8-bit RGB file), if any.
  const std::optional<Rgb>& TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(std::optional<Rgb> color) { transparentColor_ = color; }

  // Unchecked pixel access: 0 <= x < Width(), 0 <= y < Height().
  Rgb Pixel(int x, int y) const {
    const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * channels_;
    return Rgb{p[0], p[1], p[2]};
  }
  void SetPixel(int x, int y, Rgb color) {
    std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * channels_;
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
  }
  // 255 (opaque) for images without alpha.
  std::uint8_t Alpha(int x, int y) const {
    return channels_ == 4 ? Row(y)[static_cast<std::size_t>(x) * 4 + 3] : 255;
  }
  // No effect on images without alpha.
  void SetAlpha(int x, int y, std::uint8_t alpha) {
    if (channels_ == 4) Row(y)[static_cast<std::size_t>(x) * 4 + 3] = alpha;
  }
  // Interleaved samples of one row: R, G, B (and A), Channels() bytes per pixel, no padding.
  std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * RowBytes();
  }
  std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * channels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  int colorType_ = kPngRgb;
  int bitDepth_ = 8;
  int channels_ = 3;
  std::optional<Rgb> transparentColor_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace likentor
