#include "portrait/portrait_png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>
#include <string>

#include "image_bytes.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::Bytes;
using test::MakePng;

Bytes TextChunk(const std::string& keyword, const std::string& value) {
  Bytes data(keyword.begin(), keyword.end());
  data.push_back(0);
  data.insert(data.end(), value.begin(), value.end());
  return data;
}

TEST(PortraitPng, PortraitsAreMarkedAndToldFromOtherPictures) {
  test::TempFolder folder;
  PngImage image(90, 135, false);
  image.SetPixel(4, 5, Rgb{200, 100, 50});

  // Ours: a text chunk names the program, and the file still decodes to the same pixels.
  const auto ours = folder / "Player_1.png";
  SavePortraitPng(image, ours);
  const std::string bytes = test::ReadBytes(ours);
  EXPECT_NE(bytes.find(std::string("tEXtSoftware\0Likentor", 21)), std::string::npos);
  EXPECT_LT(bytes.find("tEXt"), bytes.find("IDAT"));
  EXPECT_EQ(PngImage::Load(ours).Pixel(4, 5), (Rgb{200, 100, 50}));
  EXPECT_TRUE(IsLikentorPortrait(ours));

  // Pictures that some other program wrote.
  const auto plain = folder / "plain.png";
  image.Save(plain);
  EXPECT_FALSE(IsLikentorPortrait(plain));
  const Bytes rgb{1, 2, 3};
  const auto otherSoftware = folder / "other.png";
  test::WriteFile(otherSoftware, MakePng(1, 1, 8, 2, rgb, {{"tEXt", TextChunk("Software", "X")}}));
  EXPECT_FALSE(IsLikentorPortrait(otherSoftware));
  const auto otherKeyword = folder / "comment.png";
  test::WriteFile(otherKeyword,
                  MakePng(1, 1, 8, 2, rgb, {{"tEXt", TextChunk("Comment", "Likentor")}}));
  EXPECT_FALSE(IsLikentorPortrait(otherKeyword));
  // Our mark with a damaged checksum is not taken for ours.
  std::string damaged = bytes;
  damaged[damaged.find("Likentor") + 8] ^= 0x55;
  const auto damagedFile = folder / "damaged.png";
  test::WriteBytes(damagedFile, damaged);
  EXPECT_FALSE(IsLikentorPortrait(damagedFile));

  // Not a picture that can be read as ours at all.
  const auto text = folder / "text.png";
  test::WriteBytes(text, "png");
  EXPECT_FALSE(IsLikentorPortrait(text));
  const auto cut = folder / "cut.png";
  test::WriteBytes(cut, bytes.substr(0, 40));
  EXPECT_FALSE(IsLikentorPortrait(cut));
  EXPECT_FALSE(IsLikentorPortrait(folder / "missing.png"));
  EXPECT_FALSE(IsLikentorPortrait(folder.Path()));
}

// A picture with what portraits have: flat spans, colours that change evenly down the picture
// (runs one pixel back in the filtered rows), noise, and for RGBA every kind of alpha.
PngImage TestPicture(bool withAlpha) {
  PngImage image(90, 135, withAlpha);
  std::mt19937 random(7);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      Rgb c{30, 60, 90};
      if (x >= 30 && x < 60) {
        c = Rgb{static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(2 * y),
                static_cast<std::uint8_t>(255 - y)};
      }
      if (x >= 60) {
        c = Rgb{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                static_cast<std::uint8_t>(random())};
      }
      image.SetPixel(x, y, c);
      image.SetAlpha(x, y, static_cast<std::uint8_t>(y < 40 ? 255 : (y < 80 ? 0 : x * 2)));
    }
  }
  return image;
}

// Decoded by libpng itself (its simplified reader), not by our own fast path.
Bytes DecodeWithLibpng(const Bytes& file, bool withAlpha) {
  png_image reader{};
  reader.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&reader, file.data(), file.size()) == 0) return {};
  reader.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  Bytes pixels(PNG_IMAGE_SIZE(reader));
  if (png_image_finish_read(&reader, nullptr, pixels.data(), 0, nullptr) == 0) return {};
  return pixels;
}

TEST(PortraitPng, PortraitsDecodeToTheirPixels) {
  for (const bool withAlpha : {false, true}) {
    SCOPED_TRACE(withAlpha ? "RGBA" : "RGB");
    const PngImage image = TestPicture(withAlpha);
    const Bytes file = EncodePortraitPng(image);
    const Bytes expected(image.Row(0), image.Row(0) + image.RowBytes() * 135);
    EXPECT_EQ(DecodeWithLibpng(file, withAlpha), expected);
    const PngImage decoded = PngImage::Decode(file, "portrait");
    EXPECT_EQ(decoded.ColorType(), withAlpha ? kPngRgbAlpha : kPngRgb);
    EXPECT_EQ(Bytes(decoded.Row(0), decoded.Row(0) + decoded.RowBytes() * 135), expected);
  }
  // An RGB picture with a transparent colour keeps it (libpng reads this file, tRNS and all).
  PngImage keyed = TestPicture(false);
  keyed.SetTransparentColor(Rgb{30, 60, 90});
  const PngImage decoded = PngImage::Decode(EncodePortraitPng(keyed), "keyed");
  EXPECT_EQ(decoded.TransparentColor(), (Rgb{30, 60, 90}));
  EXPECT_EQ(Bytes(decoded.Row(0), decoded.Row(0) + decoded.RowBytes() * 135),
            Bytes(keyed.Row(0), keyed.Row(0) + keyed.RowBytes() * 135));
}

}  // namespace
}  // namespace likentor
