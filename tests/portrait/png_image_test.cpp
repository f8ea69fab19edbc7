#include "portrait/png_image.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "image_bytes.h"
#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::Bytes;
using test::MakePng;

PngImage DecodeBytes(const Bytes& bytes) {
  return PngImage::Decode(bytes, "test.png");
}

std::uint8_t Alpha(const PngImage& image, int x, int y) {
  return image.Alpha(x, y);
}

TEST(PngImage, RgbAndRgbaFilesKeepTheirTypeAndSamples) {
  const PngImage rgb = DecodeBytes(MakePng(2, 1, 8, 2, {10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(rgb.ColorType(), kPngRgb);
  EXPECT_FALSE(rgb.HasAlpha());
  EXPECT_EQ(rgb.Pixel(0, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(rgb.Pixel(1, 0), (Rgb{40, 50, 60}));
  EXPECT_EQ(Alpha(rgb, 1, 0), 255);

  const PngImage rgba = DecodeBytes(MakePng(1, 2, 8, 6, {1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(rgba.ColorType(), kPngRgbAlpha);
  EXPECT_EQ(rgba.Channels(), 4);
  EXPECT_EQ(rgba.Pixel(0, 1), (Rgb{5, 6, 7}));
  EXPECT_EQ(Alpha(rgba, 0, 0), 4);
  EXPECT_EQ(Alpha(rgba, 0, 1), 8);
}

TEST(PngImage, OtherKindsAreExpandedToEightBitRgbOrRgba) {
  // Palette of two colours; the tRNS chunk gives entry 0 alpha 128 and leaves entry 1 opaque.
  const Bytes palette = {10, 20, 30, 200, 100, 50};
  const PngImage indexed = DecodeBytes(MakePng(2, 1, 8, 3, {1, 0}, {{"PLTE", palette}}));
  EXPECT_EQ(indexed.ColorType(), kPngPalette);
  EXPECT_FALSE(indexed.HasAlpha());
  EXPECT_EQ(indexed.Pixel(0, 0), (Rgb{200, 100, 50}));
  EXPECT_EQ(indexed.Pixel(1, 0), (Rgb{10, 20, 30}));

  const PngImage translucent =
      DecodeBytes(MakePng(2, 1, 8, 3, {1, 0}, {{"PLTE", palette}, {"tRNS", {128}}}));
  ASSERT_TRUE(translucent.HasAlpha());
  EXPECT_EQ(Alpha(translucent, 0, 0), 255);
  EXPECT_EQ(Alpha(translucent, 1, 0), 128);

  // 1-bit grey: bits 1011 0000 are white, black, white, white, then black.
  const PngImage bits = DecodeBytes(MakePng(8, 1, 1, 0, {0xB0}));
  EXPECT_EQ(bits.ColorType(), kPngGray);
  EXPECT_EQ(bits.BitDepth(), 1);
  EXPECT_EQ(bits.Pixel(0, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(bits.Pixel(1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(bits.Pixel(3, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(bits.Pixel(4, 0), (Rgb{0, 0, 0}));

  const PngImage greyAlpha = DecodeBytes(MakePng(1, 1, 8, 4, {100, 50}));
  EXPECT_EQ(greyAlpha.Pixel(0, 0), (Rgb{100, 100, 100}));
  EXPECT_EQ(Alpha(greyAlpha, 0, 0), 50);

  // 16-bit samples are scaled: 0x12FF * 255 / 65535 = 18.92 gives 19 (cutting the low byte
  // would give 18); 0xFFFF gives 255.
  const PngImage deep = DecodeBytes(MakePng(1, 1, 16, 2, {0x12, 0xFF, 0xFF, 0xFF, 0, 0}));
  EXPECT_EQ(deep.BitDepth(), 16);
  EXPECT_EQ(deep.Pixel(0, 0), (Rgb{19, 255, 0}));
}

TEST(PngImage, InterlacedFilesAreDecodedInPlace) {
  // Adam7 on 2 x 2 grey: pass 1 holds (0, 0), pass 6 holds (1, 0), pass 7 holds row 1; the other
  // passes are empty and have no rows at all.
  const PngImage image =
      DecodeBytes(test::MakePngFromRaw(2, 2, 8, 0, 1, {0, 10, 0, 20, 0, 30, 40}));
  EXPECT_EQ(image.Pixel(0, 0), (Rgb{10, 10, 10}));
  EXPECT_EQ(image.Pixel(1, 0), (Rgb{20, 20, 20}));
  EXPECT_EQ(image.Pixel(0, 1), (Rgb{30, 30, 30}));
  EXPECT_EQ(image.Pixel(1, 1), (Rgb{40, 40, 40}));
}

TEST(PngImage, EightBitRgbWithTrnsKeepsOneTransparentColourThroughSaving) {
  const Bytes key = {0, 10, 0, 20, 0, 30};
  const PngImage keyed = DecodeBytes(MakePng(2, 1, 8, 2, {10, 20, 30, 1, 2, 3}, {{"tRNS", key}}));
  EXPECT_FALSE(keyed.HasAlpha());
  ASSERT_TRUE(keyed.TransparentColor().has_value());
  EXPECT_EQ(*keyed.TransparentColor(), (Rgb{10, 20, 30}));

  const PngImage again = DecodeBytes(keyed.Encode());
  EXPECT_EQ(again.ColorType(), kPngRgb);
  ASSERT_TRUE(again.TransparentColor().has_value());
  EXPECT_EQ(*again.TransparentColor(), (Rgb{10, 20, 30}));
  EXPECT_EQ(again.Pixel(1, 0), (Rgb{1, 2, 3}));
}

TEST(PngImage, SavesInItsOwnColourTypeWithAnyEncoderSettings) {
  test::TempFolder folder;
  PngImage image(37, 11, true);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      image.SetPixel(x, y,
                     Rgb{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 23),
                         static_cast<std::uint8_t>(x ^ y)});
      image.SetAlpha(x, y, static_cast<std::uint8_t>(x + y));
    }
  }
  const Bytes stored = image.Encode({0, PngFilters::None});
  const Bytes small = image.Encode({9, PngFilters::Adaptive});
  EXPECT_LT(small.size(), stored.size());
  for (const Bytes& bytes :
       {stored, small, image.Encode(), image.Encode({1, PngFilters::Sub}),
        image.Encode({1, PngFilters::Up}), image.Encode({1, PngFilters::Paeth})}) {
    const PngImage decoded = DecodeBytes(bytes);
    EXPECT_EQ(decoded.ColorType(), kPngRgbAlpha);
    EXPECT_EQ(decoded.BitDepth(), 8);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) {
        ASSERT_EQ(decoded.Pixel(x, y), image.Pixel(x, y));
        ASSERT_EQ(Alpha(decoded, x, y), x + y);
      }
    }
  }

  PngImage opaque(3, 2, false);
  opaque.SetPixel(2, 1, Rgb{9, 8, 7});
  const auto file = folder / "opaque.png";
  opaque.Save(file);
  opaque.SetPixel(2, 1, Rgb{1, 1, 1});
  opaque.Save(file);  // replaces the file
  const PngImage loaded = PngImage::Load(file);
  EXPECT_EQ(loaded.ColorType(), kPngRgb);
  EXPECT_EQ(loaded.Width(), 3);
  EXPECT_EQ(loaded.Height(), 2);
  EXPECT_EQ(loaded.Pixel(2, 1), (Rgb{1, 1, 1}));
  EXPECT_EQ(loaded.Pixel(0, 0), (Rgb{0, 0, 0}));
}

TEST(PngImage, CanvasWritesLeaveAlphaAlone) {
  PngImage image(1, 1, true);
  image.SetAlpha(0, 0, 99);
  image.SetPixel(0, 0, Rgb{1, 2, 3});
  EXPECT_EQ(Alpha(image, 0, 0), 99);
}

TEST(PngImage, FailuresNameTheFile) {
  test::TempFolder folder;
  const auto missing = folder / "missing.png";
  try {
    PngImage::Load(missing);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot load image \"" + missing.string() + "\": the file does not exist.");
  }
  try {
    DecodeBytes(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0});
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot load image \"test.png\": not a PNG file.");
  }
  EXPECT_THROW(PngImage(0, 5, false), Error);
  EXPECT_THROW(PngImage().Encode(), Error);
  const PngImage image(1, 1, false);
  EXPECT_THROW(image.Save(folder / "no such folder" / "x.png"), Error);
}

TEST(PngImage, AWriteCutShortKeepsTheEarlierPicture) {
  test::TempFolder folder;
  const auto file = folder / "Player_7.png";
  PngImage earlier(2, 2, false);
  earlier.SetPixel(1, 1, Rgb{40, 50, 60});
  earlier.Save(file);
  const std::string before = test::ReadBytes(file);

  // A full disk, as a file size limit: the new picture's bytes cannot all be written.
  PngImage larger(300, 300, false);
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 300; ++x) {
      larger.SetPixel(x, y,
                      Rgb{static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 13),
                          static_cast<std::uint8_t>(x ^ y)});
    }
  }
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(larger.Save(file), Error);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(test::ReadBytes(file), before);
  EXPECT_FALSE(std::filesystem::exists(folder / "Player_7.png.part"));
}

}  // namespace
}  // namespace likentor
