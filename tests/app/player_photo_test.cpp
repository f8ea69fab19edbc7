#include "app/player_photo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/component_packs.h"
#include "app/pack_kinds.h"
#include "app/photo_fixture.h"
#include "portrait/artwork_paths.h"

namespace likentor {
namespace {

using test::BackgroundColor;
using test::Player;
using test::Team;

class PlayerPhotoTest : public test::PhotoFixture {
 protected:
  // Makes the portrait of one player through the player page's road and returns it.
  PngImage Make(int id) {
    OpenPlayer(id);
    CreatePlayerPhoto(session_, id);
    return LoadPortrait(id);
  }
  Rgb Background(int id) { return BackgroundColor(PlayerInt(id, "background")); }
  // One pixel of a new portrait of the player, and what the player's background has there.
  std::pair<Rgb, Rgb> PixelAndBackground(int id, int x, int y) {
    const Rgb pixel = Make(id).Pixel(x, y);
    return {pixel, Background(id)};
  }
};

TEST_F(PlayerPhotoTest, EthnicityFolders) {
  EXPECT_EQ(EthnString(1), "caucasian");
  EXPECT_EQ(EthnString(2), "asian");
  EXPECT_EQ(EthnString(3), "african");
  EXPECT_EQ(EthnString(4), "east indian");
  EXPECT_EQ(EthnString(0), "east indian");
}

TEST_F(PlayerPhotoTest, TeamZeroWearsTheDefaultUniformWithoutLogoAndTheRowRecordsThePortrait) {
  AddTeam({.id = 1, .logo = "logo.png"});
  clock_.NextDraw(3, 2);    // accessory: 4 records, a draw below 3
  clock_.NextDraw(70, 41);  // background 41
  AddPlayer({.id = 7, .teamId = 0});
  const PngImage p = Make(7);

  EXPECT_EQ(p.Width(), 90);
  EXPECT_EQ(p.Height(), 135);
  EXPECT_FALSE(p.HasAlpha());  // the background's colour type
  EXPECT_EQ(PlayerInt(7, "background"), 41);
  EXPECT_EQ(PlayerInt(7, "accessory"), 2);
  EXPECT_EQ(PlayerInt(7, "uniform_team_id"), 0);
  EXPECT_FALSE(PlayerFlag(7, "update_required"));

  const Rgb bg = BackgroundColor(41);
  EXPECT_EQ(p.Pixel(0, 0), bg);
  EXPECT_EQ(p.Pixel(8, 5), test::kFaceColor);
  EXPECT_EQ(p.Pixel(16, 13), test::kFaceColor);
  EXPECT_EQ(p.Pixel(17, 13), bg);
  EXPECT_EQ(p.Pixel(20, 80), test::kDefaultUniformColor);
  EXPECT_EQ(p.Pixel(60, 120), test::kDefaultUniformColor);  // no logo on the default uniform
  EXPECT_EQ(p.Pixel(30, 20), Blend(Rgb{255, 255, 255}, 128, bg));
  EXPECT_EQ(p.Pixel(0, 3), bg);  // no facial hair
  // Accessory 2 is for left-handed batters; this one bats right-handed.
  EXPECT_EQ(p.Pixel(86, 6), bg);
}

TEST_F(PlayerPhotoTest, RetiredPlayersWearTheUniformOfTheirMainTeam) {
  AddTeam({.id = 3, .customUniform = (Graphics() / "uniforms/custom/MLB/Club_home.png").string()});
  AddPlayer({.id = 1, .teamId = 0, .retired = true, .retiredAsTeam = 3});
  AddPlayer({.id = 2, .teamId = 3, .retired = false, .retiredAsTeam = 0});
  AddPlayer({.id = 3, .teamId = 3, .retired = true, .retiredAsTeam = 0});
  EXPECT_EQ(Make(1).Pixel(20, 80), test::kCustomUniformColor);
  EXPECT_EQ(PlayerInt(1, "uniform_team_id"), 3);
  EXPECT_EQ(Make(2).Pixel(20, 80), test::kCustomUniformColor);
  EXPECT_EQ(Make(3).Pixel(20, 80), test::kDefaultUniformColor);
  EXPECT_EQ(PlayerInt(3, "uniform_team_id"), 0);
}

TEST_F(PlayerPhotoTest, CustomUniformPresentHasNoLogoAndMissingFallsBackToGenericWithLogo) {
  const std::string custom = (Graphics() / "uniforms/custom/MLB/Club_home.png").string();
  AddTeam({.id = 1, .customUniform = custom, .logo = "logo.png"});
  AddTeam({.id = 3,
           .customUniform = custom + ".gone",
           .logo = "logo.png",
           .background = "#102030",
           .text = "#405060"});
  AddPlayer({.id = 1, .teamId = 1});
  AddPlayer({.id = 3, .teamId = 3});

  const PngImage present = Make(1);
  EXPECT_EQ(present.Pixel(20, 80), test::kCustomUniformColor);
  EXPECT_EQ(present.Pixel(60, 120), test::kCustomUniformColor);

  // Team 3: design 4, tinted (16, 32, 48) and (64, 80, 96); the logo over it.
  const PngImage missing = Make(3);
  EXPECT_EQ(missing.Pixel(45, 57), (Rgb{40, 40, 40}));
  EXPECT_EQ(missing.Pixel(20, 80), (Rgb{16, 32, 48}));
  EXPECT_EQ(missing.Pixel(20, 104), Tint(Rgb{64, 80, 96}, 128));
  EXPECT_EQ(missing.Pixel(20, 50), Background(3));  // black of the generic uniform: transparent
  EXPECT_EQ(missing.Pixel(60, 120), test::kLogoColor);
  EXPECT_EQ(missing.Pixel(49, 108), test::kLogoColor);
  EXPECT_EQ(missing.Pixel(78, 134), test::kLogoColor);
  EXPECT_EQ(missing.Pixel(48, 108), (Rgb{16, 32, 48}));
  EXPECT_EQ(missing.Pixel(79, 108), (Rgb{16, 32, 48}));
  EXPECT_EQ(missing.Pixel(60, 107), Tint(Rgb{64, 80, 96}, 128));
}

TEST_F(PlayerPhotoTest, LogoTestAndUseLogosSetting) {
  // Teams of the designs whose templates the kit has.
  AddTeam({.id = 1, .logo = "logo.png"});
  AddTeam({.id = 3, .logo = "logo.PNG"});  // the file exists, but the name fails the test
  AddTeam({.id = 26, .logo = "nothere.png"});
  AddTeam({.id = 28, .logo = ""});
  for (int id : {1, 3, 26, 28}) AddPlayer({.id = id, .teamId = id});
  const Rgb red{255, 0, 0};  // every team's background colour
  EXPECT_EQ(Make(1).Pixel(60, 120), test::kLogoColor);
  EXPECT_EQ(Make(3).Pixel(60, 120), red);
  EXPECT_EQ(Make(26).Pixel(60, 120), red);
  EXPECT_EQ(Make(28).Pixel(60, 120), red);
  SetUseLogos(false);
  EXPECT_EQ(Make(1).Pixel(60, 120), red);
}

TEST_F(PlayerPhotoTest, ALogoOutsideThePictureFolderIsPassedOverAndLogged) {
  std::filesystem::copy_file(Pictures() / "logo.png", Pictures().parent_path() / "outside.png");
  // An absolute name short enough for the field's 60 characters.
  const std::string absolute = "/tmp/likentor-logo-" + std::to_string(::getpid()) + ".png";
  std::filesystem::copy_file(Pictures() / "logo.png", absolute,
                             std::filesystem::copy_options::overwrite_existing);
  AddTeam({.id = 1, .logo = "../outside.png"});
  AddTeam({.id = 3, .logo = absolute});
  AddTeam({.id = 26, .logo = "logo.png"});
  for (int id : {1, 3, 26}) AddPlayer({.id = id, .teamId = id});
  const Rgb red{255, 0, 0};  // every team's background colour
  EXPECT_EQ(Make(1).Pixel(60, 120), red);
  EXPECT_EQ(Make(3).Pixel(60, 120), red);
  EXPECT_EQ(Make(26).Pixel(60, 120), test::kLogoColor);
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{
                "The logo \"../outside.png\" of team 1 (Town1 Club1) lies outside the picture "
                "folder; it is passed over.",
                "The logo \"" + absolute +
                    "\" of team 3 (Town3 Club3) lies outside the picture folder; it is passed "
                    "over."}));
  std::filesystem::remove(absolute);
}

TEST_F(PlayerPhotoTest, AnInvalidTeamColourNamesTheTeamAndItsTable) {
  AddTeam({.id = 1, .background = "#GG0000"});
  AddPlayer({.id = 1, .teamId = 1});
  OpenPlayer(1);
  try {
    CreatePlayerPhoto(session_, 1);
    FAIL() << "a portrait was made";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Invalid team colour \"#GG0000\" of team 1 (Town1 Club1) in g_teams.db: characters "
              "2 to 7 must be hexadecimal digits.");
  }
  EXPECT_FALSE(std::filesystem::exists(Portrait(1)));
}

TEST_F(PlayerPhotoTest, GenericDesignsOfTeams24_25And50) {
  for (int id : {1, 24, 25, 50}) {
    AddTeam({.id = id, .background = "#00FF00", .text = "#000000"});
    AddPlayer({.id = id, .teamId = id});
  }
  EXPECT_EQ(Make(1).Pixel(45, 57), (Rgb{20, 20, 20}));      // design 2
  EXPECT_EQ(Make(24).Pixel(45, 57), (Rgb{250, 250, 250}));  // design 25
  EXPECT_EQ(Make(25).Pixel(45, 57), (Rgb{10, 10, 10}));     // design 1
  const PngImage fifty = Make(50);
  EXPECT_EQ(fifty.Pixel(45, 57), (Rgb{10, 10, 10}));  // design 1
  EXPECT_EQ(fifty.Pixel(20, 80), (Rgb{0, 255, 0}));
  // A black text colour tints in (48, 48, 48).
  EXPECT_EQ(fifty.Pixel(20, 104), Tint(Rgb{48, 48, 48}, 128));
}

TEST_F(PlayerPhotoTest, FacialHairByHairColourAndStyle) {
  AddPlayer({.id = 1, .hairColor = 2, .facialHairStyle = 2});
  AddPlayer({.id = 2, .hairColor = 1, .facialHairStyle = 2});
  AddPlayer({.id = 3, .hairColor = 3, .facialHairStyle = 2});
  AddPlayer({.id = 4, .hairColor = 2, .facialHairStyle = 3});   // beard: no blonde picture
  AddPlayer({.id = 5, .hairColor = 1, .facialHairStyle = 1});   // "none": no picture at all
  AddPlayer({.id = 6, .hairColor = 1, .facialHairStyle = 99});  // no such style
  const PngImage blonde = Make(1);
  EXPECT_EQ(blonde.Pixel(0, 3), test::kBlondeHair);  // column 1 of the layer: it sits at -1
  EXPECT_EQ(blonde.Pixel(8, 6), test::kBlondeHair);  // drawn over the face
  EXPECT_EQ(blonde.Pixel(8, 7), test::kFaceColor);
  EXPECT_EQ(blonde.Pixel(0, 1), Background(1));
  EXPECT_EQ(Make(2).Pixel(0, 3), test::kBrownHair);
  EXPECT_EQ(Make(3).Pixel(0, 3), test::kBrownHair);
  for (int id : {4, 5, 6}) {
    const auto [pixel, background] = PixelAndBackground(id, 0, 3);
    EXPECT_EQ(pixel, background) << id;
  }
}

TEST_F(PlayerPhotoTest, ABlondePlayerShowsTheKitsBlondeHairedFaceWhenThereIsOne) {
  // Kit faces 1 and 3 have blonde-haired pictures; face 2 has none; face 3 was replaced by a
  // pack's, whose hair the kit's blonde picture is not.
  const Rgb blondeFace{230, 190, 120};
  for (int face : {1, 3}) {
    PngImage image(10, 10, true);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        image.SetPixel(x, y, blondeFace);
        image.SetAlpha(x, y, 255);
      }
    }
    std::filesystem::create_directories(BlondeFaceFile(program_, 1, face).parent_path());
    image.Save(BlondeFaceFile(program_, 1, face));
  }
  for (int face : {2, 3}) {
    std::filesystem::copy_file(FaceFile(program_, 1, 1), FaceFile(program_, 1, face));
  }
  Database& db = session_.Data();
  MakeComponentsTable(db);
  {
    Table items(db, kComponentsTable);
    items.Append();
    items.SetInt("pack_id", 1);
    items.SetText("kind", "faces");
    items.SetInt("ethnicity", 1);
    items.SetInt("number", 3);
    items.SetText("location", "graphics/faces/caucasian/0000003.png");
    items.SetText("source", (folder_.Path() / "pack" / "face.png").string());
    ASSERT_TRUE(items.Post()) << items.LastError();
  }
  AddPlayer({.id = 1, .face = 1, .hairColor = 2, .facialHairStyle = 2});
  AddPlayer({.id = 2, .face = 1, .hairColor = 1, .facialHairStyle = 2});
  AddPlayer({.id = 3, .face = 2, .hairColor = 2});
  AddPlayer({.id = 4, .face = 3, .hairColor = 2});
  const PngImage blonde = Make(1);
  EXPECT_EQ(blonde.Pixel(8, 7), blondeFace);
  EXPECT_EQ(blonde.Pixel(8, 6), test::kBlondeHair);  // his beard over it
  EXPECT_EQ(Make(2).Pixel(8, 7), test::kFaceColor);
  EXPECT_EQ(Make(3).Pixel(8, 7), test::kFaceColor);
  EXPECT_EQ(Make(4).Pixel(8, 7), test::kFaceColor);
}

TEST_F(PlayerPhotoTest, AccessoryShownByHandAndPosition) {
  // Accessories: 1 right-handed batters, 2 left-handed batters, 3 right-handed pitchers, 4
  // left-handed pitchers.
  struct Case {
    int accessory, hand, position;
    bool shown;
  };
  const Case cases[] = {{1, 1, 3, true},  {1, 2, 3, false}, {2, 2, 5, true},  {2, 1, 5, false},
                        {1, 1, 1, false}, {3, 1, 1, true},  {3, 1, 3, false}, {4, 2, 1, true},
                        {4, 1, 1, false}, {0, 1, 3, false}};
  int id = 0;
  for (const Case& c : cases) {
    ++id;
    if (c.accessory == 0) clock_.NextDraw(3, 0);  // a drawn 0: no accessory, stored as 0
    AddPlayer({.id = id, .accessory = c.accessory, .hand = c.hand, .position = c.position});
    const PngImage p = Make(id);
    EXPECT_EQ(p.Pixel(86, 6), c.shown ? test::kAccessoryColors[c.accessory] : Background(id))
        << "accessory " << c.accessory << " hand " << c.hand << " position " << c.position;
    EXPECT_EQ(PlayerInt(id, "accessory"), c.accessory);
  }
}

TEST_F(PlayerPhotoTest, PathsStoredRelativeToTheProgramFolderAreReadFromIt) {
  // Under a long program folder, custom uniforms and accessories are stored relative to it.
  AddTeam({.id = 3, .customUniform = "graphics/uniforms/custom/MLB/Club_home.png"});
  {
    Table& accessories = session_.Universal().AccessoriesTable;
    ASSERT_TRUE(accessories.Locate("accessory_id", 1));
    accessories.Edit();
    accessories.SetText("location", "graphics/accessories/00001.png");
    ASSERT_TRUE(accessories.Post());
  }
  AddPlayer({.id = 1, .teamId = 3, .accessory = 1, .hand = 1, .position = 3});
  const PngImage p = Make(1);
  EXPECT_EQ(p.Pixel(20, 80), test::kCustomUniformColor);
  EXPECT_EQ(p.Pixel(86, 6), test::kAccessoryColors[1]);
}

TEST_F(PlayerPhotoTest, ASecondPortraitKeepsTheLookAndDrawsANewBackground) {
  clock_.NextDraw(3, 1);
  clock_.NextDraw(70, 0);  // a drawn 0 is background 1
  AddPlayer({.id = 5, .ethnicity = 4, .face = 2});
  const PngImage first = Make(5);
  EXPECT_EQ(first.Pixel(0, 0), BackgroundColor(1));
  EXPECT_EQ(first.Pixel(8, 5), (Rgb{90, 60, 40}));  // the "east indian" folder
  EXPECT_EQ(PlayerInt(5, "accessory"), 1);
  clock_.NextDraw(70, 69);
  const PngImage second = Make(5);
  EXPECT_EQ(second.Pixel(0, 0), BackgroundColor(69));
  EXPECT_EQ(PlayerInt(5, "background"), 69);
  EXPECT_EQ(PlayerInt(5, "accessory"), 1);  // kept, not drawn again
  EXPECT_EQ(second.Pixel(86, 6), test::kAccessoryColors[1]);
}

TEST_F(PlayerPhotoTest, AMissingFaceEndsThePortraitNamingTheFileAndLeavesTheRowAlone) {
  AddPlayer({.id = 9, .face = 55});
  OpenPlayer(9);
  try {
    CreatePlayerPhoto(session_, 9);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("faces/caucasian/0000055.png"), std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(Portrait(9)));
  EXPECT_FALSE(session_.Game().PlayersQuery.InEdit());
  EXPECT_TRUE(PlayerFlag(9, "update_required"));
  EXPECT_EQ(PlayerInt(9, "background"), 0);
  EXPECT_EQ(PlayerInt(9, "accessory"), 0);
}

TEST_F(PlayerPhotoTest, ARefusedPostIsLoggedAndThePortraitStays) {
  AddPlayer({.id = 4});
  RefuseUpdates("NEW.player_id = 4");
  OpenPlayer(4);
  CreatePlayerPhoto(session_, 4);
  EXPECT_TRUE(std::filesystem::exists(Portrait(4)));
  EXPECT_FALSE(session_.Game().PlayersQuery.InEdit());
  EXPECT_TRUE(PlayerFlag(4, "update_required"));
  EXPECT_EQ(LogLines(), std::vector<std::string>{std::string(kPhotoPostError)});
}

TEST_F(PlayerPhotoTest, ABackgroundWithAlphaKeepsItsAlphaAndColourType) {
  PngImage background(90, 135, true);
  for (int y = 0; y < 135; ++y) {
    for (int x = 0; x < 90; ++x) {
      background.SetPixel(x, y, Rgb{0, 0, 0});
      background.SetAlpha(x, y, 77);
    }
  }
  for (int k = 1; k <= 69; ++k) {
    background.Save(Graphics() / "backgrounds" /
                    (std::string(k < 10 ? "0000" : "000") + std::to_string(k) + ".png"));
  }
  AddPlayer({.id = 8});
  const PngImage p = Make(8);
  EXPECT_TRUE(p.HasAlpha());
  EXPECT_EQ(p.Alpha(0, 0), 77);
  EXPECT_EQ(p.Alpha(8, 5), 77);  // layers change colours only
  EXPECT_EQ(p.Pixel(8, 5), test::kFaceColor);
  EXPECT_EQ(p.Pixel(30, 20), Blend(Rgb{255, 255, 255}, 128, Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace likentor
