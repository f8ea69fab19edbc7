// Pixel work of one portrait: the layer drawing, the tint of a uniform template, the logo resize,
// and the PNG encoding and decoding of a 90 x 135 portrait.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "portrait/image_operations.h"
#include "portrait/layer_drawing.h"
#include "portrait/png_image.h"
#include "portrait/uniforms.h"

namespace likentor {
namespace {

constexpr int kWidth = 90;
constexpr int kHeight = 135;

std::uint8_t Byte(int v) {
  return static_cast<std::uint8_t>(v & 0xFF);
}

// A canvas with some texture, like a background picture.
PngImage Canvas(bool withAlpha) {
  PngImage canvas(kWidth, kHeight, withAlpha);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      canvas.SetPixel(x, y, Rgb{Byte(x * 2 + y), Byte(y * 3), Byte(200 - x)});
      canvas.SetAlpha(x, y, 255);
    }
  }
  return canvas;
}

// A layer like a face or a cap: transparent around, opaque inside, soft edges between.
PngImage Layer() {
  PngImage layer(kWidth, kHeight, true);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int dx = x - 45, dy = y - 60;
      const int d = dx * dx + dy * dy;
      const int alpha = d < 30 * 30 ? 255 : d < 34 * 34 ? 255 - (d - 900) / 2 : 0;
      layer.SetPixel(x, y, Rgb{Byte(180 + x / 4), Byte(130 + y / 8), Byte(100)});
      layer.SetAlpha(x, y, Byte(alpha < 0 ? 0 : alpha));
    }
  }
  return layer;
}

// A grey template: shading in the shirt area, black elsewhere.
Bitmap Template(int shift) {
  Bitmap bitmap(kWidth, kHeight);
  for (int y = 95 + shift; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t grey = Byte(120 + (x + y) % 100);
      bitmap.SetPixel(x, y, Rgb{grey, grey, grey});
    }
  }
  return bitmap;
}

// Draws the layer over the canvas again and again; items are the layer's pixels.
void DrawLayerRepeatedly(benchmark::State& state, PngImage canvas, const PngImage& layer) {
  for (auto _ : state) {
    DrawLayer(canvas, layer, 0, 0);
    benchmark::DoNotOptimize(canvas.Row(60));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_DrawLayerRgbaOntoRgb(benchmark::State& state) {
  DrawLayerRepeatedly(state, Canvas(false), Layer());
}
BENCHMARK(BM_DrawLayerRgbaOntoRgb);

void BM_DrawLayerRgbaOntoRgba(benchmark::State& state) {
  DrawLayerRepeatedly(state, Canvas(true), Layer());
}
BENCHMARK(BM_DrawLayerRgbaOntoRgba);

// The worst case: every pixel half transparent, so every pixel takes the blend.
void BM_DrawLayerAllTranslucent(benchmark::State& state) {
  PngImage layer = Layer();
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) layer.SetAlpha(x, y, 128);
  }
  DrawLayerRepeatedly(state, Canvas(false), layer);
}
BENCHMARK(BM_DrawLayerAllTranslucent);

void BM_ColorizeTransOverlay(benchmark::State& state) {
  const Bitmap grey = Template(0);
  Bitmap uniform(kWidth, kHeight);
  for (auto _ : state) {
    Bitmap tinted = grey;  // Colorize works in place, so each run tints a fresh copy
    Colorize(tinted, Rgb{200, 30, 40});
    TransOverlay(uniform, tinted);
    benchmark::DoNotOptimize(uniform.Row(100));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ColorizeTransOverlay);

void BM_BuildGenericUniform(benchmark::State& state) {
  UniformTemplates templates;
  templates.white = Template(20);
  templates.background = Template(0);
  templates.text = Template(10);
  for (auto _ : state) {
    Bitmap uniform = BuildGenericUniform(templates, 0x2030C0, 0xFFFFFF);
    benchmark::DoNotOptimize(uniform.Row(100));
  }
}
BENCHMARK(BM_BuildGenericUniform);

void BM_SmoothResizeLogo60To30(benchmark::State& state) {
  PngImage logo(60, 60, true);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      logo.SetPixel(x, y, Rgb{Byte(x * 4), Byte(y * 4), Byte(x * y)});
      logo.SetAlpha(x, y, Byte(255 - x));
    }
  }
  for (auto _ : state) {
    PngImage resized = logo;
    SmoothResize(resized, 30, 30);
    benchmark::DoNotOptimize(resized.Row(29));
  }
}
BENCHMARK(BM_SmoothResizeLogo60To30);

void BM_EncodePortrait(benchmark::State& state) {
  PngImage portrait = Canvas(false);
  DrawLayer(portrait, Layer(), 0, 0);
  const PngWriteOptions options{static_cast<int>(state.range(0)),
                                static_cast<PngFilters>(state.range(1))};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<std::uint8_t> png = portrait.Encode(options);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
// Arguments: zlib level, filters (0 none, 3 Paeth, 4 adaptive).
BENCHMARK(BM_EncodePortrait)->Args({1, 4})->Args({1, 3})->Args({1, 0})->Args({6, 4});

void BM_DecodePortrait(benchmark::State& state) {
  PngImage portrait = Canvas(false);
  DrawLayer(portrait, Layer(), 0, 0);
  const std::vector<std::uint8_t> png = portrait.Encode();
  for (auto _ : state) {
    PngImage decoded = PngImage::Decode(png, "portrait.png");
    benchmark::DoNotOptimize(decoded.Row(0));
  }
}
BENCHMARK(BM_DecodePortrait);

}  // namespace
}  // namespace likentor

BENCHMARK_MAIN();
