// Make New Photo on the player page, over the tiny flat-colour artwork kit of the portrait tests.

#include <gtest/gtest.h>

#include "app/player_search.h"
#include "photo_fixture.h"
#include "portrait/artwork_paths.h"

namespace likentor {
namespace {

class MakeNewPhotoTest : public test::PhotoFixture {};

TEST_F(MakeNewPhotoTest, MakesTheCurrentPlayersPortraitAndShowsIt) {
  AddTeam({.id = 1});
  AddPlayer({.id = 3, .teamId = 1});
  // Locked and not due: the portrait is made all the same.
  AddPlayer({.id = 7, .teamId = 1, .locked = true, .updateRequired = false});
  ASSERT_TRUE(PlayerSearchBtnClick(session_, {"First7", "", 0}));

  std::optional<PlayerPicture> preview;
  MakeNewPhotoBtnClick(session_, preview);
  ASSERT_TRUE(preview.has_value());
  EXPECT_EQ(preview->file, Portrait(7));
  const PngImage& shown = std::get<PngImage>(preview->image);
  EXPECT_EQ(shown.Width(), 90);
  EXPECT_EQ(shown.Height(), 135);
  EXPECT_EQ(shown.Pixel(8, 5), test::kFaceColor);
  EXPECT_FALSE(std::filesystem::exists(Portrait(3)));
  EXPECT_FALSE(PlayerFlag(7, "update_required"));
  EXPECT_TRUE(PlayerFlag(7, "locked"));
  EXPECT_TRUE(PlayerFlag(3, "update_required"));

  // A failure keeps the earlier picture in the preview.
  std::filesystem::remove(FaceFile(program_, 1, 1));
  EXPECT_THROW(MakeNewPhotoBtnClick(session_, preview), Error);
  ASSERT_TRUE(preview.has_value());
  EXPECT_EQ(std::get<PngImage>(preview->image).Pixel(8, 5), test::kFaceColor);
}

}  // namespace
}  // namespace likentor
