#include "portrait/layer_drawing.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace likentor {

namespace {

// A block of samples: rows of `width` pixels, `stride` bytes apart.
struct Block {
  std::uint8_t* dst;
  std::size_t dstStride;
  const std::uint8_t* src;
  std::size_t srcStride;
  int width;
  int height;
};

// The overlap of a layer at (x, y) with the canvas, or false when there is none. Works in 64 bits
// so that any int position is safe.
template <typename Canvas, typename Layer>
bool Overlap(Canvas& canvas, const Layer& layer, int x, int y, int layerChannels, Block& block) {
  const std::int64_t x0 = std::max<std::int64_t>(0, x);
  const std::int64_t y0 = std::max<std::int64_t>(0, y);
  const std::int64_t x1 = std::min<std::int64_t>(canvas.Width(), std::int64_t{x} + layer.Width());
  const std::int64_t y1 = std::min<std::int64_t>(canvas.Height(), std::int64_t{y} + layer.Height());
  if (x0 >= x1 || y0 >= y1) return false;
  const std::size_t canvasChannels = canvas.RowBytes() / static_cast<std::size_t>(canvas.Width());
  block.dst = canvas.Row(static_cast<int>(y0)) + static_cast<std::size_t>(x0) * canvasChannels;
  block.dstStride = canvas.RowBytes();
  block.src = layer.Row(static_cast<int>(y0 - y)) +
              static_cast<std::size_t>(x0 - x) * static_cast<std::size_t>(layerChannels);
  block.srcStride = layer.RowBytes();
  block.width = static_cast<int>(x1 - x0);
  block.height = static_cast<int>(y1 - y0);
  return true;
}

// True when the eight RGBA pixels at `s` are all fully transparent.
bool EightTransparent(const std::uint8_t* s) {
  // The alpha samples: bytes 3 and 7 of every eight.
  constexpr std::uint64_t kAlpha =
      std::endian::native == std::endian::little ? 0xFF000000FF000000ull : 0x000000FF000000FFull;
  const auto word = [s](int k) {
    std::uint64_t w;
    std::memcpy(&w, s + 8 * k, sizeof w);
    return w;
  };
  return ((word(0) | word(1) | word(2) | word(3)) & kAlpha) == 0;
}

template <int DstChannels>
void BlendAlpha(const Block& b) {
  for (int row = 0; row < b.height; ++row) {
    std::uint8_t* d = b.dst + row * b.dstStride;
    const std::uint8_t* s = b.src + row * b.srcStride;
    for (int i = 0; i < b.width;) {
      // Most of a layer the size of the canvas (a uniform, the bill's underside, an accessory) is
      // fully transparent: eight such pixels are passed over at once, and where they are not,
      // the next eight are drawn one by one before looking again.
      if (i + 8 <= b.width && EightTransparent(s)) {
        i += 8;
        d += 8 * DstChannels;
        s += 32;
        continue;
      }
      for (const int end = std::min(i + 8, b.width); i < end; ++i, d += DstChannels, s += 4) {
        const unsigned a = s[3];
        // Layers are mostly fully transparent or fully opaque; the formula gives d for a = 0 and
        // s for a = 255, so those pixels take the short way.
        if (a == 0) continue;
        if (a == 255) {
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          continue;
        }
        const unsigned na = 255 - a;
        d[0] = static_cast<std::uint8_t>((s[0] * a + d[0] * na + 255) >> 8);
        d[1] = static_cast<std::uint8_t>((s[1] * a + d[1] * na + 255) >> 8);
        d[2] = static_cast<std::uint8_t>((s[2] * a + d[2] * na + 255) >> 8);
      }
    }
  }
}

template <int DstChannels>
void CopyKeyed(const Block& b, Rgb key) {
  for (int row = 0; row < b.height; ++row) {
    std::uint8_t* d = b.dst + row * b.dstStride;
    const std::uint8_t* s = b.src + row * b.srcStride;
    for (int i = 0; i < b.width; ++i, d += DstChannels, s += 3) {
      if (s[0] == key.r && s[1] == key.g && s[2] == key.b) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
}

template <int DstChannels>
void CopyRgb(const Block& b) {
  for (int row = 0; row < b.height; ++row) {
    std::uint8_t* d = b.dst + row * b.dstStride;
    const std::uint8_t* s = b.src + row * b.srcStride;
    if constexpr (DstChannels == 3) {
      std::memcpy(d, s, static_cast<std::size_t>(b.width) * 3);
    } else {
      for (int i = 0; i < b.width; ++i, d += DstChannels, s += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    }
  }
}

template <typename Canvas>
void DrawPng(Canvas& canvas, const PngImage& layer, int x, int y) {
  Block block{};
  if (!Overlap(canvas, layer, x, y, layer.Channels(), block)) return;
  const bool canvasAlpha = canvas.RowBytes() == static_cast<std::size_t>(canvas.Width()) * 4;
  if (layer.HasAlpha()) {
    canvasAlpha ? BlendAlpha<4>(block) : BlendAlpha<3>(block);
  } else if (layer.TransparentColor()) {
    canvasAlpha ? CopyKeyed<4>(block, *layer.TransparentColor())
                : CopyKeyed<3>(block, *layer.TransparentColor());
  } else {
    canvasAlpha ? CopyRgb<4>(block) : CopyRgb<3>(block);
  }
}

template <typename Canvas>
void DrawOpaque(Canvas& canvas, const Bitmap& bitmap, int x, int y) {
  Block block{};
  if (!Overlap(canvas, bitmap, x, y, Bitmap::kChannels, block)) return;
  const bool canvasAlpha = canvas.RowBytes() == static_cast<std::size_t>(canvas.Width()) * 4;
  canvasAlpha ? CopyRgb<4>(block) : CopyRgb<3>(block);
}

}  // namespace

void DrawLayer(PngImage& canvas, const PngImage& layer, int x, int y) {
  DrawPng(canvas, layer, x, y);
}
void DrawLayer(Bitmap& canvas, const PngImage& layer, int x, int y) {
  DrawPng(canvas, layer, x, y);
}
void DrawBitmap(PngImage& canvas, const Bitmap& bitmap, int x, int y) {
  DrawOpaque(canvas, bitmap, x, y);
}
void DrawBitmap(Bitmap& canvas, const Bitmap& bitmap, int x, int y) {
  DrawOpaque(canvas, bitmap, x, y);
}

}  // namespace likentor
