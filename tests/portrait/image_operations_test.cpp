#include "portrait/image_operations.h"

#include <gtest/gtest.h>

#include "image_bytes.h"
#include "shell/error.h"

namespace likentor {
namespace {

TEST(SmoothResize, LogoOf60To30ReadsInsideTheSourceAndKeepsAlpha) {
  // Red rises by 4 per column, green by 4 per row, alpha falls by 4 per column.
  PngImage logo(60, 60, true);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      logo.SetPixel(x, y,
                    Rgb{static_cast<std::uint8_t>(4 * x), static_cast<std::uint8_t>(4 * y), 100});
      logo.SetAlpha(x, y, static_cast<std::uint8_t>(255 - 4 * x));
    }
  }
  SmoothResize(logo, 30, 30);
  ASSERT_EQ(logo.Width(), 30);
  ASSERT_EQ(logo.Height(), 30);
  EXPECT_EQ(logo.ColorType(), kPngRgbAlpha);
  // Scale 30/59: destination t reads source position t * 59 / 30.
  EXPECT_EQ(logo.Pixel(0, 0), (Rgb{0, 0, 100}));
  EXPECT_EQ(logo.Alpha(0, 0), 255);
  // Column 1: position 59/30 = 1.9667 between columns 1 and 2: red 7.87 -> 8, alpha 247.13 -> 247.
  EXPECT_EQ(logo.Pixel(1, 0).r, 8);
  EXPECT_EQ(logo.Alpha(1, 0), 247);
  // Column 15: position 29.5, halfway between columns 29 and 30: red 118.
  EXPECT_EQ(logo.Pixel(15, 29), (Rgb{118, 228, 100}));
  // Column 29: position 57.033 between columns 57 and 58 (never 59): red 228.13 -> 228,
  // alpha 26.87 -> 27. The same along rows: row 29 gives green 228.
  EXPECT_EQ(logo.Pixel(29, 29), (Rgb{228, 228, 100}));
  EXPECT_EQ(logo.Alpha(29, 29), 27);
}

TEST(SmoothResize, RoundsHalvesToEven) {
  // 2 x 2 to 4 x 4: scale 4, positions 0, 0.25, 0.5 and 0.75 are exact in floats.
  PngImage image(2, 2, false);
  image.SetPixel(0, 0, Rgb{1, 2, 0});
  image.SetPixel(1, 0, Rgb{2, 3, 0});
  image.SetPixel(0, 1, Rgb{1, 2, 5});
  image.SetPixel(1, 1, Rgb{2, 3, 5});
  SmoothResize(image, 4, 4);
  EXPECT_EQ(image.ColorType(), kPngRgb);
  EXPECT_FALSE(image.HasAlpha());
  EXPECT_EQ(image.Pixel(1, 0), (Rgb{1, 2, 0}));  // 1.25 -> 1, 2.25 -> 2
  EXPECT_EQ(image.Pixel(2, 0), (Rgb{2, 2, 0}));  // 1.5 -> 2, 2.5 -> 2
  EXPECT_EQ(image.Pixel(3, 0), (Rgb{2, 3, 0}));  // 1.75 -> 2, 2.75 -> 3
  EXPECT_EQ(image.Pixel(0, 1).b, 1);             // 1.25
  EXPECT_EQ(image.Pixel(0, 2).b, 2);             // 2.5
  EXPECT_EQ(image.Pixel(0, 3).b, 4);             // 3.75
}

TEST(SmoothResize, OnePixelWideOrHighRepeatsIt) {
  PngImage column(1, 3, false);
  column.SetPixel(0, 0, Rgb{10, 0, 0});
  column.SetPixel(0, 1, Rgb{20, 0, 0});
  column.SetPixel(0, 2, Rgb{30, 0, 0});
  SmoothResize(column, 4, 2);  // rows: scale 2/2, positions 0 and 1
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(column.Pixel(x, 0).r, 10);
    EXPECT_EQ(column.Pixel(x, 1).r, 20);
  }
  PngImage dot(1, 1, true);
  dot.SetPixel(0, 0, Rgb{1, 2, 3});
  dot.SetAlpha(0, 0, 4);
  SmoothResize(dot, 3, 3);
  EXPECT_EQ(dot.Pixel(2, 2), (Rgb{1, 2, 3}));
  EXPECT_EQ(dot.Alpha(2, 2), 4);
}

TEST(SmoothResize, RefusesOtherColourTypesAndLeavesTheImage) {
  const test::Bytes palette = {10, 20, 30};
  PngImage indexed = PngImage::Decode(test::MakePng(2, 1, 8, 3, {0, 0}, {{"PLTE", palette}}), "x");
  try {
    SmoothResize(indexed, 30, 30);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Only COLOR_RGBALPHA and COLOR_RGB formats are supported");
  }
  EXPECT_EQ(indexed.Width(), 2);
  EXPECT_EQ(indexed.Pixel(1, 0), (Rgb{10, 20, 30}));
  PngImage rgb(2, 2, false);
  EXPECT_THROW(SmoothResize(rgb, 0, 30), Error);
}

TEST(Colorize, TintsByTheRedChannelOfAFixedArea) {
  Bitmap templ(100, 140);
  templ.Fill(Rgb{128, 128, 128});
  templ.SetPixel(1, 1, Rgb{2, 2, 2});
  templ.SetPixel(2, 2, Rgb{200, 0, 50});  // green and blue do not count
  Bitmap red = templ;
  Colorize(red, Rgb{255, 0, 0});
  EXPECT_EQ(red.Pixel(0, 0), (Rgb{128, 0, 0}));  // 255 * 128 / 255
  EXPECT_EQ(GetRed(red, 89, 134), (Rgb{128, 0, 0}));
  EXPECT_EQ(red.Pixel(90, 0), (Rgb{128, 128, 128}));  // outside 90 x 135: untouched
  EXPECT_EQ(red.Pixel(0, 135), (Rgb{128, 128, 128}));

  Colorize(templ, Rgb{48, 48, 48});
  EXPECT_EQ(templ.Pixel(1, 1), (Rgb{0, 0, 0}));     // 48 * 2 / 255 = 0.38: black, transparent
  EXPECT_EQ(templ.Pixel(0, 0), (Rgb{24, 24, 24}));  // 48 * 128 / 255 = 24.09

  Bitmap mixed(1, 1);
  mixed.SetPixel(0, 0, Rgb{200, 0, 50});
  Colorize(mixed, Rgb{100, 150, 200});
  // 100 * 200 / 255 = 78.43, 150 * 200 / 255 = 117.65, 200 * 200 / 255 = 156.86
  EXPECT_EQ(mixed.Pixel(0, 0), (Rgb{78, 118, 157}));
}

TEST(TransOverlay, CopiesNonBlackPixelsOnly) {
  Bitmap destination(3, 2);
  destination.Fill(Rgb{9, 9, 9});
  Bitmap black(3, 2);
  TransOverlay(destination, black);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(destination.Pixel(x, y), (Rgb{9, 9, 9}));
  }
  Bitmap small(2, 1);  // positions outside the source stay as they are
  small.SetPixel(0, 0, Rgb{0, 0, 1});
  TransOverlay(destination, small);
  EXPECT_EQ(destination.Pixel(0, 0), (Rgb{0, 0, 1}));
  EXPECT_EQ(destination.Pixel(1, 0), (Rgb{9, 9, 9}));
  EXPECT_EQ(destination.Pixel(2, 1), (Rgb{9, 9, 9}));
}

TEST(TransOverlay2, WritesColourThroughTheCanvasAndKeepsAlpha) {
  PngImage canvas(2, 1, true);
  canvas.SetAlpha(0, 0, 200);
  canvas.SetAlpha(1, 0, 100);
  canvas.SetPixel(1, 0, Rgb{5, 5, 5});
  Bitmap uniform(2, 1);
  uniform.SetPixel(0, 0, Rgb{40, 50, 60});
  TransOverlay2(canvas, uniform);
  EXPECT_EQ(canvas.Pixel(0, 0), (Rgb{40, 50, 60}));
  EXPECT_EQ(canvas.Alpha(0, 0), 200);
  EXPECT_EQ(canvas.Pixel(1, 0), (Rgb{5, 5, 5}));
  EXPECT_EQ(canvas.Alpha(1, 0), 100);
}

}  // namespace
}  // namespace likentor
