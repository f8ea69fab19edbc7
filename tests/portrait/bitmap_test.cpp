#include "portrait/bitmap.h"

#include <gtest/gtest.h>

#include "image_bytes.h"
#include "portrait/jpeg_reader.h"
#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::Bytes;
using test::MakeBmp;

Bitmap DecodeBytes(const Bytes& bytes) {
  return Bitmap::DecodeBmp(bytes, "test.bmp");
}

TEST(Bitmap, BlankBitmapIsBlack) {
  Bitmap bitmap(3, 2);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.Pixel(2, 1), (Rgb{0, 0, 0}));
  bitmap.Fill(Rgb{1, 2, 3});
  EXPECT_EQ(bitmap.Pixel(2, 1), (Rgb{1, 2, 3}));
  EXPECT_THROW(Bitmap(-1, 2), Error);
}

TEST(Bitmap, Reads24BitRowsBottomUpOrTopDown) {
  // 2 x 2, rows of 6 bytes padded to 8; samples are blue, green, red. The file's first row is the
  // picture's bottom row unless the height is negative.
  const Bytes rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  const Bitmap bottomUp = DecodeBytes(MakeBmp(2, 2, 24, 0, {}, rows));
  EXPECT_EQ(bottomUp.Pixel(0, 1), (Rgb{3, 2, 1}));
  EXPECT_EQ(bottomUp.Pixel(1, 1), (Rgb{6, 5, 4}));
  EXPECT_EQ(bottomUp.Pixel(0, 0), (Rgb{9, 8, 7}));
  const Bitmap topDown = DecodeBytes(MakeBmp(2, -2, 24, 0, {}, rows));
  EXPECT_EQ(topDown.Height(), 2);
  EXPECT_EQ(topDown.Pixel(0, 0), (Rgb{3, 2, 1}));
  EXPECT_EQ(topDown.Pixel(1, 1), (Rgb{12, 11, 10}));
}

TEST(Bitmap, ReadsPaletteAndBitFieldDepths) {
  // 8-bit: colour table of two entries; index 5 lies beyond it and reads as black.
  const Bytes palette = {30, 20, 10, 0, 60, 50, 40, 0};
  const Bitmap indexed = DecodeBytes(MakeBmp(3, 1, 8, 0, palette, {1, 0, 5, 0}));
  EXPECT_EQ(indexed.Pixel(0, 0), (Rgb{40, 50, 60}));
  EXPECT_EQ(indexed.Pixel(1, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(indexed.Pixel(2, 0), (Rgb{0, 0, 0}));

  // 1-bit: 1010 0000, leftmost pixel in the high bit.
  const Bitmap mono = DecodeBytes(MakeBmp(4, 1, 1, 0, palette, {0xA0, 0, 0, 0}));
  EXPECT_EQ(mono.Pixel(0, 0), (Rgb{40, 50, 60}));
  EXPECT_EQ(mono.Pixel(1, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(mono.Pixel(2, 0), (Rgb{40, 50, 60}));

  // 32-bit without bit fields: blue, green, red, unused.
  const Bitmap wide = DecodeBytes(MakeBmp(1, 1, 32, 0, {}, {7, 8, 9, 255}));
  EXPECT_EQ(wide.Pixel(0, 0), (Rgb{9, 8, 7}));

  // 16-bit 5-6-5 bit fields: red 31 of 31 is 255, green 32 of 63 is 32 * 255 / 63 = 129.5 -> 130,
  // blue 1 of 31 is 255 / 31 = 8.2 -> 8.
  const std::uint16_t pixel = (31 << 11) | (32 << 5) | 1;
  const Bytes masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
  const Bitmap fields = DecodeBytes(MakeBmp(
      1, 1, 16, 3, {},
      {static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8), 0, 0}, masks));
  EXPECT_EQ(fields.Pixel(0, 0), (Rgb{255, 130, 8}));
}

TEST(Bitmap, SavedBmpReadsBack) {
  test::TempFolder folder;
  Bitmap bitmap(5, 3);  // 15 bytes a row: padding to 16 in the file
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      bitmap.SetPixel(x, y, Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200});
    }
  }
  bitmap.SaveBmp(folder / "a.bmp");
  EXPECT_EQ(std::filesystem::file_size(folder / "a.bmp"), 54u + 3 * 16);
  const Bitmap loaded = Bitmap::LoadBmp(folder / "a.bmp");
  ASSERT_EQ(loaded.Width(), 5);
  ASSERT_EQ(loaded.Height(), 3);
  EXPECT_EQ(loaded.Pixel(4, 0), (Rgb{4, 0, 200}));
  EXPECT_EQ(loaded.Pixel(1, 2), (Rgb{1, 2, 200}));
}

TEST(Bitmap, UnsupportedKindsFailCleanly) {
  try {
    DecodeBytes(MakeBmp(2, 2, 8, 1, {0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}));
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot load image \"test.bmp\": compressed (RLE) BMP data is not supported.");
  }
  EXPECT_THROW(DecodeBytes(MakeBmp(1, 1, 2, 0, {}, {0, 0, 0, 0})), Error);   // 2 bits per pixel
  EXPECT_THROW(DecodeBytes(MakeBmp(0, 1, 24, 0, {}, {})), Error);            // no pixels
  EXPECT_THROW(DecodeBytes(MakeBmp(3, 1, 24, 0, {}, {1, 2, 3, 4})), Error);  // rows cut short
}

TEST(Jpeg, DecodesToRgb) {
  // A flat colour survives JPEG compression within a step or two per channel.
  Bytes rgb;
  for (int i = 0; i < 16 * 8; ++i) rgb.insert(rgb.end(), {200, 40, 90});
  test::TempFolder folder;
  test::WriteFile(folder / "a.jpg", test::MakeJpeg(16, 8, rgb, 95));
  const Bitmap bitmap = LoadJpeg(folder / "a.jpg");
  ASSERT_EQ(bitmap.Width(), 16);
  ASSERT_EQ(bitmap.Height(), 8);
  const Rgb c = bitmap.Pixel(9, 5);
  EXPECT_NEAR(c.r, 200, 3);
  EXPECT_NEAR(c.g, 40, 3);
  EXPECT_NEAR(c.b, 90, 3);
}

}  // namespace
}  // namespace likentor
