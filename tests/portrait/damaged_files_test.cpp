// Every loader must end with likentor::Error naming the file, whatever bytes it is given: cut-short
// files, wrong signatures, flipped bytes and noise. Run under AddressSanitizer, this also checks
// that libpng's and libjpeg's error jumps leave nothing behind.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "image_bytes.h"
#include "portrait/bitmap.h"
#include "portrait/jpeg_reader.h"
#include "portrait/png_image.h"
#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::Bytes;

struct Format {
  std::string name;
  Bytes valid;
  std::function<void(const std::filesystem::path&)> load;
  std::function<void(const Bytes&, const std::string&)> decode;
};

std::vector<Format> Formats() {
  Bytes rgba, rgb;
  for (int i = 0; i < 12 * 9; ++i) {
    const auto r = static_cast<std::uint8_t>(i * 3), g = static_cast<std::uint8_t>(i),
               b = static_cast<std::uint8_t>(255 - i);
    rgba.insert(rgba.end(), {r, g, b, static_cast<std::uint8_t>(i * 7)});
    rgb.insert(rgb.end(), {r, g, b});
  }
  Bitmap bitmap(7, 5);
  bitmap.Fill(Rgb{1, 2, 3});
  return {
      {"png", test::MakePng(12, 9, 8, 6, rgba), [](const auto& f) { PngImage::Load(f); },
       [](const Bytes& b, const std::string& n) { PngImage::Decode(b, n); }},
      {"bmp", bitmap.EncodeBmp(), [](const auto& f) { Bitmap::LoadBmp(f); },
       [](const Bytes& b, const std::string& n) { Bitmap::DecodeBmp(b, n); }},
      {"jpg", test::MakeJpeg(12, 9, rgb, 80), [](const auto& f) { LoadJpeg(f); },
       [](const Bytes& b, const std::string& n) { DecodeJpeg(b, n); }},
  };
}

// Decodes the bytes, read from `file` when one is given; returns false when the loader failed with
// a load error that names the file.
bool Loads(const Format& format, const Bytes& bytes, const std::filesystem::path* file = nullptr) {
  const std::string name = file != nullptr ? file->string() : "memory." + format.name;
  try {
    if (file != nullptr) {
      test::WriteFile(*file, bytes);
      format.load(*file);
    } else {
      format.decode(bytes, name);
    }
    return true;
  } catch (const Error& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("Cannot load image \"" + name + "\": ", 0), 0u) << message;
    return false;
  }
}

TEST(DamagedImageFiles, CutShortFilesFailEveryTime) {
  test::TempFolder folder;
  for (const Format& format : Formats()) {
    const auto file = folder / ("cut." + format.name);
    ASSERT_TRUE(Loads(format, format.valid, &file)) << format.name;
    for (std::size_t length = 0; length < format.valid.size(); ++length) {
      const Bytes cut(format.valid.begin(),
                      format.valid.begin() + static_cast<std::ptrdiff_t>(length));
      // Every length in memory; some through a file as well.
      EXPECT_FALSE(Loads(format, cut)) << format.name << " cut to " << length << " bytes";
      if (length % 37 == 0) {
        EXPECT_FALSE(Loads(format, cut, &file)) << length;
      }
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
    EXPECT_FALSE(Loads(format, wrong, &file)) << format.name;
    for (int round = 0; round < 100; ++round) {
      Bytes noise(random() % 3000);
      for (auto& b : noise) b = static_cast<std::uint8_t>(random());
      EXPECT_FALSE(Loads(format, noise, round < 5 ? &file : nullptr))
          << format.name << " noise round " << round;
    }
  }
}

TEST(DamagedImageFiles, DamageAfterAValidStartNeverCrashes) {
  // Flipped bytes and noise behind an intact header may still decode (a flipped pixel of a BMP is
  // just another colour); what matters is that nothing but a load error ever comes out.
  std::mt19937 random(99);
  for (const Format& format : Formats()) {
    for (std::size_t i = 0; i < format.valid.size(); ++i) {
      Bytes flipped = format.valid;
      flipped[i] = static_cast<std::uint8_t>(flipped[i] ^ (1u << (random() % 8)));
      Loads(format, flipped);
    }
    for (int round = 0; round < 100; ++round) {
      Bytes tail = format.valid;
      const std::size_t keep = 2 + random() % (tail.size() - 2);
      tail.resize(keep + random() % 500);
      for (std::size_t i = keep; i < tail.size(); ++i)
        tail[i] = static_cast<std::uint8_t>(random());
      Loads(format, tail);
    }
  }
}

TEST(DamagedImageFiles, ErrorsOnSeveralThreadsAtOnceStayApart) {
  // Worker threads decode artwork side by side: each decode has its own error state, so good and
  // damaged data on four threads give the same results as one after the other.
  const std::vector<Format> formats = Formats();
  std::vector<std::thread> workers;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([&formats, &failures, t] {
      for (int round = 0; round < 30; ++round) {
        for (const Format& format : formats) {
          const bool damaged = (round + t) % 2 == 1;
          const Bytes bytes(format.valid.begin(), format.valid.end() - (damaged ? 1 + round : 0));
          const std::string name = "thread" + std::to_string(t) + "." + format.name;
          try {
            format.decode(bytes, name);
            if (damaged) ++failures[static_cast<std::size_t>(t)];
          } catch (const Error& e) {
            const std::string prefix = "Cannot load image \"" + name + "\": ";
            if (!damaged || std::string(e.what()).rfind(prefix, 0) != 0) {
              ++failures[static_cast<std::size_t>(t)];
            }
          }
        }
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
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

TEST(DamagedImageFiles, ChunksLongerThanTheLimitAreRefused) {
  const auto expectDamaged = [](const Bytes& png, const std::string& name) {
    try {
      PngImage::Decode(png, name);
      ADD_FAILURE() << name << ": no error";
    } catch (const Error& e) {
      const std::string expected = "Cannot load image \"" + name + "\": damaged PNG data (";
      EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
    }
  };
  // 9 MB of text in a chunk before the pixels: more than any picture's ancillary chunk may hold,
  // so it is refused instead of read into memory whole.
  Bytes text(9u << 20, 'x');
  const std::string keyword = "Comment";
  std::copy(keyword.begin(), keyword.end(), text.begin());
  text[keyword.size()] = 0;
  expectDamaged(test::MakePng(1, 1, 8, 2, {1, 2, 3}, {{"tEXt", text}}), "long text.png");

  // A file of 58 bytes whose second chunk claims 1.7 GB (its length field reads "iCCP"): refused
  // without asking for the memory the length names.
  Bytes png = test::MakePng(1, 1, 8, 2, {1, 2, 3});
  png.resize(33);
  for (const char c : std::string("iCCPtEXtSoftware")) png.push_back(static_cast<std::uint8_t>(c));
  for (const char c : std::string("\0Likent", 8)) png.push_back(static_cast<std::uint8_t>(c));
  png.push_back(0x82);
  expectDamaged(png, "claims 1.7 GB.png");
}

}  // namespace
}  // namespace likentor
