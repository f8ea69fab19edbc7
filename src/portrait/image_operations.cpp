#include "portrait/image_operations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/error.h"

namespace likentor {

namespace {

// Colorize works on this fixed area whatever the template's size: the uniform artwork size.
constexpr int kTintWidth = 90;
constexpr int kTintHeight = 135;

// Where one destination column (or row) of SmoothResize reads: index i0 with weight w0 and the next
// index i1 with weight w1.
struct Tap {
  int i0;
  int i1;
  float w0;
  float w1;
};

// The taps of each destination position along one axis of source length n resized to newLength.
// The scale is newLength / (n - 1) as single precision; positions are truncated. A source of
// length 1 has no scale: every position reads its one pixel with full weight.
std::vector<Tap> AxisTaps(int n, int newLength) {
  std::vector<Tap> taps(static_cast<std::size_t>(newLength));
  const float scale = n > 1 ? static_cast<float>(newLength) / static_cast<float>(n - 1) : 0.0f;
  for (int t = 0; t < newLength; ++t) {
    const float s = n > 1 ? static_cast<float>(t) / scale : 0.0f;
    const int i = static_cast<int>(s);
    const float w1 = s - static_cast<float>(i);
    const float w0 = 1.0f - w1;
    // i + 1 stays below n by the choice of scale; the clamp only guards float edge cases, where
    // the weight of the clamped neighbour is 0.
    taps[static_cast<std::size_t>(t)] = Tap{std::min(i, n - 1), std::min(i + 1, n - 1), w0, w1};
  }
  return taps;
}

// One step of a sum: the product and the addition are exact enough in double, and the sum is
// stored as single precision after every addition.
inline float Accumulate(float sum, std::uint8_t value, float weight) {
  return static_cast<float>(static_cast<double>(sum) +
                            static_cast<double>(value) * static_cast<double>(weight));
}

// The nearest integer, an exact half to the even one, kept within 0..255.
inline std::uint8_t RoundSample(float sum) {
  const float r = std::nearbyint(sum);
  return static_cast<std::uint8_t>(r <= 0.0f ? 0.0f : (r >= 255.0f ? 255.0f : r));
}

}  // namespace

void SmoothResize(PngImage& image, int newWidth, int newHeight) {
  if (image.ColorType() != kPngRgb && image.ColorType() != kPngRgbAlpha) {
    throw Error("Only COLOR_RGBALPHA and COLOR_RGB formats are supported");
  }
  if (image.Empty()) throw Error("Cannot resize an empty image.");
  if (newWidth <= 0 || newHeight <= 0) {
    throw Error("Cannot resize an image to " + std::to_string(newWidth) + " x " +
                std::to_string(newHeight) + " pixels.");
  }
  const bool withAlpha = image.ColorType() == kPngRgbAlpha;
  PngImage result(newWidth, newHeight, withAlpha);
  const std::vector<Tap> columns = AxisTaps(image.Width(), newWidth);
  const std::vector<Tap> rows = AxisTaps(image.Height(), newHeight);
  const std::size_t sourceChannels = static_cast<std::size_t>(image.Channels());
  const int resultChannels = result.Channels();

  for (int ty = 0; ty < newHeight; ++ty) {
    const Tap& row = rows[static_cast<std::size_t>(ty)];
    const std::uint8_t* sourceRows[2] = {image.Row(row.i0), image.Row(row.i1)};
    const float rowWeights[2] = {row.w0, row.w1};
    std::uint8_t* out = result.Row(ty);
    for (int tx = 0; tx < newWidth; ++tx, out += resultChannels) {
      const Tap& column = columns[static_cast<std::size_t>(tx)];
      const std::size_t offsets[2] = {static_cast<std::size_t>(column.i0) * sourceChannels,
                                      static_cast<std::size_t>(column.i1) * sourceChannels};
      const float columnWeights[2] = {column.w0, column.w1};
      float red = 0.0f, green = 0.0f, blue = 0.0f, alpha = 0.0f;
      // Column offset outside, row offset inside: the order of the additions is part of the result.
      for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
          const float w = columnWeights[i] * rowWeights[j];
          const std::uint8_t* p = sourceRows[j] + offsets[i];
          red = Accumulate(red, p[0], w);
          green = Accumulate(green, p[1], w);
          blue = Accumulate(blue, p[2], w);
          if (withAlpha) alpha = Accumulate(alpha, p[3], w);
        }
      }
      out[0] = RoundSample(red);
      out[1] = RoundSample(green);
      out[2] = RoundSample(blue);
      if (withAlpha) out[3] = RoundSample(alpha);
    }
  }
  image = std::move(result);
}

Rgb GetRed(const Bitmap& bitmap, int x, int y) {
  if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return Rgb{};
  return bitmap.Pixel(x, y);
}

void Colorize(Bitmap& templateBitmap, Rgb color) {
  // round(c * p / 255) for every grey p: c * p / 255 is never exactly halfway between two
  // integers (255 is odd), so (2 c p + 255) / 510 in integers is the nearest one.
  std::array<std::array<std::uint8_t, 256>, 3> tint{};
  const unsigned channels[3] = {color.r, color.g, color.b};
  for (int c = 0; c < 3; ++c) {
    for (unsigned p = 0; p < 256; ++p) {
      tint[static_cast<std::size_t>(c)][p] =
          static_cast<std::uint8_t>((2 * channels[c] * p + 255) / 510);
    }
  }
  const int width = std::min(kTintWidth, templateBitmap.Width());
  const int height = std::min(kTintHeight, templateBitmap.Height());
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = templateBitmap.Row(y);
    for (int x = 0; x < width; ++x, p += Bitmap::kChannels) {
      const std::uint8_t grey = p[0];
      p[0] = tint[0][grey];
      p[1] = tint[1][grey];
      p[2] = tint[2][grey];
    }
  }
}

namespace {

template <typename Destination>
void OverlayNonBlack(Destination& destination, const Bitmap& source, std::size_t channels) {
  const int width = std::min(destination.Width(), source.Width());
  const int height = std::min(destination.Height(), source.Height());
  for (int y = 0; y < height; ++y) {
    std::uint8_t* d = destination.Row(y);
    const std::uint8_t* s = source.Row(y);
    for (int x = 0; x < width; ++x, d += channels, s += Bitmap::kChannels) {
      if ((s[0] | s[1] | s[2]) == 0) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
}

}  // namespace

void TransOverlay(Bitmap& destination, const Bitmap& source) {
  OverlayNonBlack(destination, source, Bitmap::kChannels);
}

void TransOverlay2(PngImage& destination, const Bitmap& source) {
  OverlayNonBlack(destination, source, static_cast<std::size_t>(destination.Channels()));
}

}  // namespace likentor
