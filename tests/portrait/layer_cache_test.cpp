#include "portrait/layer_cache.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image_bytes.h"
#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

TEST(LayerCache, ALogoOfAKindThatCannotBeResizedIsNamedWithItsTeam) {
  test::TempFolder folder;
  const auto grey = folder / "grey.png";
  test::WriteFile(grey, test::MakePng(2, 2, 8, 0, {0, 64, 128, 255}));
  LayerCache layers(folder.Path());
  const std::string expected =
      "Only COLOR_RGBALPHA and COLOR_RGB formats are supported: the logo \"" + grey.string() + "\"";
  try {
    layers.Logo(grey, 30, "team 3 (Town Club) in g_teams.db");
    FAIL() << "a grey logo was resized";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), expected + " of team 3 (Town Club) in g_teams.db.");
  }
  try {
    layers.Logo(grey, 30);
    FAIL() << "a grey logo was resized";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), expected + ".");
  }
  const auto rgb = folder / "rgb.png";
  test::WriteFile(rgb, test::MakePng(1, 1, 8, 2, {10, 20, 30}));
  const auto logo = layers.Logo(rgb, 30, "team 3 (Town Club) in g_teams.db");
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->Width(), 30);
  EXPECT_EQ(logo->Pixel(29, 29), (Rgb{10, 20, 30}));
}

TEST(LayerCache, AHugeFileUnderALayersNameIsRefusedFromItsSize) {
  // A sparse file of 1 GB: reading it whole would take a gigabyte of memory and many seconds.
  test::TempFolder folder;
  const auto huge = folder / "00005.png";
  test::WriteFile(huge, test::MakePng(1, 1, 8, 6, {10, 20, 30, 40}));
  std::filesystem::resize_file(huge, std::uintmax_t{1} << 30);
  LayerCache layers(folder.Path());
  for (int i = 0; i < 2; ++i) {
    try {
      layers.PngIfExists(huge);
      FAIL() << "a 1 GB layer was taken";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot load image \"" + huge.string() +
                                           "\": the file is too large for a layer (1024 MB, at "
                                           "most 8 MB).");
    }
  }
  EXPECT_EQ(layers.Decodes(), 0);
}

}  // namespace
}  // namespace likentor
