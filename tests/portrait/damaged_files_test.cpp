// Every loader must end with likentor::Error naming the file, whatever bytes it is given: cut-short
// files, wrong signatures, flipped bytes and noise. Run under AddressSanitizer, this also checks
// that libpng's and libjpeg's error jumps leave nothing behind.

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <random>
#include <string>

#include "image_bytes.h"
#include "portrait/bitmap.h"
#include "portrait/jpeg_reader.h"
#include "portrait/png_image.h"
#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::Bytes;
using Loader = std::function<void(const std::filesystem::path&)>;

struct Format {
  std::string name;
  Bytes valid;
  Loader load;
};

std::vector<Format> Formats() {
  Bytes samples;
  for (int i = 0; i < 12 * 9; ++i) {
    samples.insert(samples.end(),
                   {static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(i),
                    static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7)});
  }
  Bytes rgb;
  for (std::size_t i = 0; i < samples.size(); i += 4)
    rgb.insert(rgb.end(), {samples[i], samples[i + 1], samples[i + 2]});
  Bitmap bitmap(7, 5);
  bitmap.Fill(Rgb{1, 2, 3});
  return {
      {"png", test::MakePng(12, 9, 8, 6, samples),
       [](const std::filesystem::path& f) { PngImage::Load(f); }},
      {"bmp", bitmap.EncodeBmp(), [](const std::filesystem::path& f) { Bitmap::LoadBmp(f); }},
      {"jpg", test::MakeJpeg(12, 9, rgb, 80), [](const std::filesystem::path& f) { LoadJpeg(f); }},
  };
}

// Loads the bytes from a file; returns false when the loader failed with a proper error.
bool Loads(const Format& format, const std::filesystem::path& file, const Bytes& bytes) {
  test::WriteFile(file, bytes);
  try {
    format.load(file);
    return true;
  } catch (const Error& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("Cannot load image \"" + file.string() + "\": ", 0), 0u) << message;
    return false;
  }
}

TEST(DamagedImageFiles, CutShortFilesFailEveryTime) {
  test::TempFolder folder;
  for (const Format& format : Formats()) {
    const auto file = folder / ("cut." + format.name);
    ASSERT_TRUE(Loads(format, file, format.valid)) << format.name;
    for (std::size_t length = 0; length < format.valid.size(); ++length) {
      const Bytes cut(format.valid.begin(),
                      format.valid.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_FALSE(Loads(format, file, cut)) << format.name << " cut to " << length << " bytes";
    }
  }
}

TEST(DamagedImageFiles, WrongSignaturesAndNoiseFail) {
  test::TempFolder folder;
  std::mt19937 random(20240607);
  for (const Format& format : Formats()) {
    const auto file = folder / ("noise." + format.name);
    Bytes wrong = format.valid;
    wrong[0] ^= 0x40;
    EXPECT_FALSE(Loads(format, file, wrong)) << format.name;
    for (int round = 0; round < 100; ++round) {
      Bytes noise(random() % 3000);
      for (auto& b : noise) b = static_cast<std::uint8_t>(random());
      EXPECT_FALSE(Loads(format, file, noise)) << format.name << " noise round " << round;
    }
  }
}

TEST(DamagedImageFiles, DamageAfterAValidStartNeverCrashes) {
  // Flipped bytes and noise behind an intact header may still decode (a flipped pixel of a BMP is
  // just another colour); what matters is that nothing but a load error ever comes out.
  test::TempFolder folder;
  std::mt19937 random(99);
  for (const Format& format : Formats()) {
    const auto file = folder / ("flip." + format.name);
    for (std::size_t i = 0; i < format.valid.size(); ++i) {
      Bytes flipped = format.valid;
      flipped[i] = static_cast<std::uint8_t>(flipped[i] ^ (1u << (random() % 8)));
      Loads(format, file, flipped);
    }
    for (int round = 0; round < 100; ++round) {
      Bytes tail = format.valid;
      const std::size_t keep = 2 + random() % (tail.size() - 2);
      tail.resize(keep + random() % 500);
      for (std::size_t i = keep; i < tail.size(); ++i)
        tail[i] = static_cast<std::uint8_t>(random());
      Loads(format, file, tail);
    }
  }
}

TEST(DamagedImageFiles, HugeSizesInAHeaderAreRefusedBeforeAllocating) {
  // A BMP header of 60000 x 60000 pixels with no pixel data behind it.
  Bytes bmp = test::MakeBmp(60000, 60000, 24, 0, {}, {});
  try {
    Bitmap::DecodeBmp(bmp, "big.bmp");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot load image \"big.bmp\": the image is too large (60000 x 60000 pixels).");
  }

  // The same size in the header of a PNG (IHDR data at bytes 16 to 28, its CRC behind).
  Bytes png = test::MakePng(1, 1, 8, 2, {0, 0, 0});
  for (int i = 0; i < 2; ++i) {
    png[16 + 4 * i + 2] = 0xEA;  // 60000 = 0x0000EA60
    png[16 + 4 * i + 3] = 0x60;
  }
  const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  try {
    PngImage::Decode(png, "big.png");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot load image \"big.png\": the image is too large (60000 x 60000 pixels).");
  }
}

}  // namespace
}  // namespace likentor
