// Make New Photo on the player page, over the tiny flat-colour artwork kit of the portrait tests.

#include <gtest/gtest.h>

#include "app/player_search.h"
#include "photo_fixture.h"
#include "portrait/artwork_paths.h"
#include "support/temp_folder.h"

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

// The page's commands by player id, whatever PlayersQuery holds: no search is made here.
TEST_F(MakeNewPhotoTest, ByIdTheNewPortraitAndTheCurrentPictureAndALockedOwnPictureAskedFor) {
  AddTeam({.id = 1});
  AddPlayer({.id = 3, .teamId = 1});
  AddPlayer({.id = 7, .teamId = 1, .locked = true, .updateRequired = false});
  ASSERT_FALSE(session_.Game().PlayersQuery.IsOpen());
  prompts_.ClearHistory();

  std::optional<NewPhoto> made = MakeNewPhoto(session_, 3);
  ASSERT_TRUE(made.has_value());
  EXPECT_EQ(made->picture.file, Portrait(3));
  EXPECT_EQ(std::get<PngImage>(made->picture.image).Pixel(8, 5), test::kFaceColor);
  EXPECT_FALSE(made->replacedOwn);
  EXPECT_FALSE(PlayerFlag(3, "update_required"));
  EXPECT_EQ(CurrentPhoto(session_, 3).file, Portrait(3));

  // Locked without a picture: nothing of his own to lose, so nothing is asked.
  made = MakeNewPhoto(session_, 7);
  ASSERT_TRUE(made.has_value());
  EXPECT_FALSE(made->replacedOwn);
  EXPECT_TRUE(prompts_.History().empty());

  // Locked with a picture: asked, naming him and the file; Cancel keeps the file.
  const std::string before = test::ReadBytes(Portrait(7));
  prompts_.AnswerConfirm(false);
  EXPECT_FALSE(MakeNewPhoto(session_, 7).has_value());
  EXPECT_EQ(
      prompts_.Texts(ScriptedPrompts::Kind::Confirm),
      std::vector<std::string>{"The photo of First7 Last7 is locked, and " + Portrait(7).string() +
                               " may be a picture of your own. Replace it with a new "
                               "portrait?"});
  EXPECT_EQ(test::ReadBytes(Portrait(7)), before);
  prompts_.AnswerConfirm(true);
  made = MakeNewPhoto(session_, 7);
  ASSERT_TRUE(made.has_value());
  EXPECT_TRUE(made->replacedOwn);
  EXPECT_EQ(made->picture.file, Portrait(7));
  EXPECT_TRUE(PlayerFlag(7, "locked"));

  EXPECT_THROW(MakeNewPhoto(session_, 99), Error);
  EXPECT_THROW(CurrentPhoto(session_, 99), Error);
}

}  // namespace
}  // namespace likentor
