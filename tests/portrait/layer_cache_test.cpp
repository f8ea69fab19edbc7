#include "portrait/layer_cache.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace likentor
