#include "portrait/layer_drawing.h"

#include <gtest/gtest.h>

#include <climits>

namespace likentor {
namespace {

PngImage Filled(int width, int height, bool withAlpha, Rgb color, std::uint8_t alpha = 255) {
  PngImage image(width, height, withAlpha);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.SetPixel(x, y, color);
      image.SetAlpha(x, y, alpha);
    }
  }
  return image;
}

TEST(DrawLayer, BlendsByAlpha) {
  struct Case {
    std::uint8_t s, d, a, expected;
  };
  // (s * a + d * (255 - a) + 255) >> 8, worked out by hand:
  const Case cases[] = {
      {255, 0, 128, 128},   // (32640 + 0 + 255) >> 8 = 32895 >> 8
      {0, 255, 128, 127},   // (0 + 32385 + 255) >> 8 = 32640 >> 8 = 127.5 -> 127
      {100, 200, 64, 175},  // (6400 + 38200 + 255) >> 8 = 44855 >> 8
      {200, 77, 0, 77},     // a = 0 keeps the canvas
      {200, 77, 255, 200},  // a = 255 takes the layer
      {255, 255, 1, 255},   // (255 + 64770 + 255) >> 8 = 65280 >> 8
  };
  for (const Case& c : cases) {
    PngImage canvas = Filled(1, 1, false, Rgb{c.d, c.d, c.d});
    DrawLayer(canvas, Filled(1, 1, true, Rgb{c.s, 0, c.s}, c.a), 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0).r, c.expected) << int(c.s) << " " << int(c.d) << " " << int(c.a);
    EXPECT_EQ(canvas.Pixel(0, 0).g, (c.d * (255 - c.a) + 255) >> 8);
  }
}

TEST(DrawLayer, PassesOverTransparentSpansWithoutLosingItsPlace) {
  // Rows of a wide layer: transparent spans of every length from 0 to 19 between opaque and
  // half-transparent pixels, so that spans are passed over both at once and pixel by pixel.
  PngImage layer(230, 2, true);
  for (int y = 0; y < 2; ++y) {
    int x = y;  // the second row starts a pixel later
    for (int span = 0; span < 20 && x < 230; ++span) {
      for (int k = 0; k < span && x < 230; ++k, ++x) layer.SetAlpha(x, y, 0);
      if (x < 230) {
        layer.SetPixel(x, y, Rgb{static_cast<std::uint8_t>(x), 200, 10});
        layer.SetAlpha(x, y, span % 2 == 0 ? 255 : 128);
        ++x;
      }
    }
    for (; x < 230; ++x) layer.SetAlpha(x, y, 0);
  }
  for (const bool canvasAlpha : {false, true}) {
    for (const int at : {0, 3, -5}) {
      PngImage canvas = Filled(240, 2, canvasAlpha, Rgb{40, 50, 60});
      DrawLayer(canvas, layer, at, 0);
      for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 240; ++x) {
          const int lx = x - at;
          Rgb expected{40, 50, 60};
          if (lx >= 0 && lx < 230 && layer.Alpha(lx, y) == 255) expected = layer.Pixel(lx, y);
          if (lx >= 0 && lx < 230 && layer.Alpha(lx, y) == 128) {
            const auto blend = [](int s, int d) {
              return static_cast<std::uint8_t>((s * 128 + d * 127 + 255) >> 8);
            };
            const Rgb s = layer.Pixel(lx, y);
            expected = Rgb{blend(s.r, 40), blend(s.g, 50), blend(s.b, 60)};
          }
          ASSERT_EQ(canvas.Pixel(x, y), expected) << x << ", " << y << " at " << at;
        }
      }
    }
  }
}

TEST(DrawLayer, ClipsToTheCanvasAtAnyPosition) {
  PngImage layer(4, 4, false);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      layer.SetPixel(x, y,
                     Rgb{static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(20 + y), 1});
    }
  }
  const Rgb grey{99, 99, 99};
  PngImage canvas = Filled(5, 5, false, grey);
  DrawLayer(canvas, layer, -2, -3);  // only layer columns 2..3 of row 3 fall inside
  EXPECT_EQ(canvas.Pixel(0, 0), (Rgb{12, 23, 1}));
  EXPECT_EQ(canvas.Pixel(1, 0), (Rgb{13, 23, 1}));
  EXPECT_EQ(canvas.Pixel(2, 0), grey);
  EXPECT_EQ(canvas.Pixel(0, 1), grey);

  DrawLayer(canvas, layer, 3, 4);  // layer pixels (0, 0) and (1, 0) land on (3, 4) and (4, 4)
  EXPECT_EQ(canvas.Pixel(3, 4), (Rgb{10, 20, 1}));
  EXPECT_EQ(canvas.Pixel(4, 4), (Rgb{11, 20, 1}));
  EXPECT_EQ(canvas.Pixel(2, 4), grey);
  EXPECT_EQ(canvas.Pixel(4, 3), grey);

  const PngImage before = canvas;
  for (const auto& [x, y] : {std::pair{5, 0},
                             {0, 5},
                             {-4, 0},
                             {0, -4},
                             {INT_MAX, INT_MAX},
                             {INT_MIN, INT_MIN},
                             {INT_MIN, 0}}) {
    DrawLayer(canvas, layer, x, y);
  }
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) ASSERT_EQ(canvas.Pixel(x, y), before.Pixel(x, y));
  }
}

TEST(DrawLayer, TransparentColourAndOpaqueLayers) {
  PngImage keyed(2, 1, false);
  keyed.SetPixel(0, 0, Rgb{10, 20, 30});
  keyed.SetPixel(1, 0, Rgb{0, 0, 0});
  keyed.SetTransparentColor(Rgb{10, 20, 30});
  PngImage canvas = Filled(2, 1, false, Rgb{5, 5, 5});
  DrawLayer(canvas, keyed, 0, 0);
  EXPECT_EQ(canvas.Pixel(0, 0), (Rgb{5, 5, 5}));
  EXPECT_EQ(canvas.Pixel(1, 0), (Rgb{0, 0, 0}));  // black is an ordinary colour here

  keyed.SetTransparentColor(std::nullopt);
  DrawLayer(canvas, keyed, 0, 0);
  EXPECT_EQ(canvas.Pixel(0, 0), (Rgb{10, 20, 30}));
}

TEST(DrawLayer, CanvasAlphaStaysAsLoaded) {
  PngImage canvas = Filled(2, 1, true, Rgb{0, 0, 0}, 40);
  DrawLayer(canvas, Filled(2, 1, true, Rgb{255, 255, 255}, 255), 0, 0);
  EXPECT_EQ(canvas.Pixel(1, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(canvas.Alpha(1, 0), 40);
  DrawLayer(canvas, Filled(1, 1, false, Rgb{1, 2, 3}), 0, 0);
  EXPECT_EQ(canvas.Pixel(0, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(canvas.Alpha(0, 0), 40);
}

TEST(DrawBitmap, CopiesEveryPixelBlackIncluded) {
  Bitmap bitmap(2, 2);
  bitmap.SetPixel(1, 1, Rgb{7, 8, 9});
  PngImage png = Filled(3, 3, true, Rgb{50, 50, 50}, 10);
  DrawBitmap(png, bitmap, 1, -1);  // bitmap row 1 lands on canvas row 0, columns 1 and 2
  EXPECT_EQ(png.Pixel(0, 0), (Rgb{50, 50, 50}));
  EXPECT_EQ(png.Pixel(1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(png.Pixel(2, 0), (Rgb{7, 8, 9}));
  EXPECT_EQ(png.Pixel(2, 1), (Rgb{50, 50, 50}));
  EXPECT_EQ(png.Alpha(2, 0), 10);

  Bitmap canvas(3, 3);
  canvas.Fill(Rgb{50, 50, 50});
  DrawBitmap(canvas, bitmap, 2, 2);
  EXPECT_EQ(canvas.Pixel(2, 2), (Rgb{0, 0, 0}));
  EXPECT_EQ(canvas.Pixel(1, 2), (Rgb{50, 50, 50}));
}

}  // namespace
}  // namespace likentor
