#include "portrait/portrait_png.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace likentor
