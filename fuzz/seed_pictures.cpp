// likentor-fuzz-seeds FOLDER [PNG...]: pictures for the image harnesses' corpora that neither the
// sample game nor the artwork kit has: small PNGs of each kind the encoder writes (RGB, RGB with a
// transparent colour, RGBA), a portrait of ours of each PNG given (the mark that the existing-photo
// rule reads) and small BMPs with and without row padding. Written as FOLDER/png/... and
// FOLDER/bmp/...

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "portrait/bitmap.h"
#include "portrait/png_image.h"
#include "portrait/portrait_png.h"
#include "shell/error.h"

namespace {

namespace fs = std::filesystem;
using likentor::Bitmap;
using likentor::PngImage;
using likentor::Rgb;

Rgb Shade(int x, int y) {
  return Rgb{static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 60),
             static_cast<std::uint8_t>(200 - x * y)};
}

PngImage SmallPng(bool withAlpha) {
  PngImage image(5, 3, withAlpha);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      image.SetPixel(x, y, Shade(x, y));
      image.SetAlpha(x, y, static_cast<std::uint8_t>(x * 60));
    }
  }
  return image;
}

Bitmap SmallBmp(int width) {
  Bitmap bitmap(width, 3);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) bitmap.SetPixel(x, y, Shade(x, y));
  }
  return bitmap;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: likentor-fuzz-seeds FOLDER [PNG...]\n", stderr);
    return 2;
  }
  try {
    const fs::path png = fs::path(argv[1]) / "png";
    const fs::path bmp = fs::path(argv[1]) / "bmp";
    fs::create_directories(png);
    fs::create_directories(bmp);
    SmallPng(false).Save(png / "small_rgb.png");
    SmallPng(true).Save(png / "small_rgba.png");
    PngImage transparent = SmallPng(false);
    transparent.SetTransparentColor(Shade(1, 1));
    transparent.Save(png / "small_transparent_colour.png");
    likentor::SavePortraitPng(SmallPng(false), png / "small_portrait.png");
    for (int i = 2; i < argc; ++i) {
      const fs::path source = argv[i];
      likentor::SavePortraitPng(PngImage::Load(source),
                                png / ("portrait_" + source.stem().string() + ".png"));
    }
    SmallBmp(4).SaveBmp(bmp / "small_unpadded.bmp");
    SmallBmp(5).SaveBmp(bmp / "small_padded.bmp");
  } catch (const likentor::Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
