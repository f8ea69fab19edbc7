// Portraits that show the length of a career: the age layers by career length with the game's
// setting on, none with it off (then a portrait is byte for byte the one without any age layer),
// the step recorded on the row and put back by undo, faces of packs that follow the kit's grid or
// not, the dry run's count of players aged since their last photo and its list of missing age
// layers, which a run logs once.

#include <gtest/gtest.h>

#include <fstream>

#include "app/aging.h"
#include "app/batch_runs.h"
#include "app/component_packs.h"
#include "app/dry_run.h"
#include "app/pack_kinds.h"
#include "app/photo_fixture.h"
#include "app/player_photo.h"
#include "app/run_plan.h"
#include "app/undo_run.h"
#include "portrait/aging.h"
#include "portrait/artwork_paths.h"
#include "support/table_helpers.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;
using test::Player;

// The test kit's age layers: step s marks canvas pixel (10 + s, 8), inside the face, in
// (50 s, 1, 2); the grey of "stubble" at step s marks canvas pixel (5, 4), over the hair.
Rgb AgeMark(int step) {
  return Rgb{static_cast<std::uint8_t>(50 * step), 1, 2};
}
const Rgb kGreyHair{150, 150, 150};

void SaveMark(const fs::path& file, int width, int height, int x, int y, Rgb color) {
  fs::create_directories(file.parent_path());
  PngImage image(width, height, true);
  image.SetPixel(x, y, color);
  image.SetAlpha(x, y, 255);
  image.Save(file);
}

class AgingPhotoTest : public test::PhotoFixture {
 protected:
  AgingPhotoTest() {
    for (int step = 1; step < kAgeSteps; ++step) {
      SaveMark(AgeFaceFile(program_, step), 90, 135, 10 + step, 8, AgeMark(step));
      // The facial hair lies at -1, 2: canvas (5, 4) is its pixel (6, 2).
      SaveMark(GreyFacialHairFile(program_, "stubble", step), 10, 5, 6, 2, kGreyHair);
    }
  }

  PngImage Make(int id) {
    OpenPlayer(id);
    CreatePlayerPhoto(session_, id);
    return LoadPortrait(id);
  }

  static std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(AgingPhotoTest, AgeStepsFollowTheCareersLength) {
  const std::pair<int, int> steps[] = {{0, 0}, {3, 0},  {4, 1},  {7, 1},
                                       {8, 2}, {11, 2}, {12, 3}, {25, 3}};
  for (const auto& [seasons, step] : steps) EXPECT_EQ(AgeStep(seasons), step) << seasons;
}

TEST_F(AgingPhotoTest, AVeteranGetsTheLastStepsLayersARookieNoneAndTheRowKeepsTheStep) {
  SetSettingFlag("players_age", true);
  AddPlayer({.id = 1, .hairColor = 1, .facialHairStyle = 2, .careerSeasons = 12});
  AddPlayer({.id = 2, .hairColor = 1, .facialHairStyle = 2, .careerSeasons = 1});
  AddPlayer({.id = 3, .careerSeasons = 9});

  const PngImage veteran = Make(1);
  EXPECT_EQ(veteran.Pixel(13, 8), AgeMark(3));
  EXPECT_EQ(veteran.Pixel(12, 8), test::kFaceColor);  // no other step's layer
  EXPECT_EQ(veteran.Pixel(11, 8), test::kFaceColor);
  EXPECT_EQ(veteran.Pixel(5, 4), kGreyHair);         // the grey over his stubble
  EXPECT_EQ(veteran.Pixel(4, 4), test::kBrownHair);  // the stubble itself below it
  EXPECT_EQ(PlayerInt(1, "age_step"), 3);

  const PngImage rookie = Make(2);
  for (int x = 11; x <= 13; ++x) EXPECT_EQ(rookie.Pixel(x, 8), test::kFaceColor) << x;
  EXPECT_EQ(rookie.Pixel(5, 4), test::kBrownHair);
  EXPECT_EQ(PlayerInt(2, "age_step"), 0);

  const PngImage middle = Make(3);
  EXPECT_EQ(middle.Pixel(12, 8), AgeMark(2));
  EXPECT_EQ(middle.Pixel(13, 8), test::kFaceColor);
  EXPECT_EQ(PlayerInt(3, "age_step"), 2);
}

TEST_F(AgingPhotoTest, UndoPutsBackTheAgeStepOfTheLastPortrait) {
  SetSettingFlag("players_age", true);
  AddPlayer({.id = 1, .careerSeasons = 12, .ageStep = 1});  // aged two steps since his photo
  AddPlayer({.id = 2, .careerSeasons = 5});                 // his first photo, aged
  AddPlayer({.id = 3, .careerSeasons = 9});
  {
    // A row of an earlier version: no age step recorded yet.
    Table players(session_.Data(), PlayersTableName(kGame));
    ASSERT_TRUE(players.Locate("player_id", 3));
    players.Edit();
    players.SetNull("age_step");
    ASSERT_TRUE(players.Post());
  }
  const auto rows = [this] { return test::ReadRows(session_.Data(), PlayersTableName(kGame)); };
  const test::Rows before = rows();
  ASSERT_EQ(before.at(3).at("age_step"), "");

  // A batch run, then undone.
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 3);
  EXPECT_EQ(PlayerInt(1, "age_step"), 3);
  EXPECT_EQ(PlayerInt(2, "age_step"), 1);
  EXPECT_EQ(PlayerInt(3, "age_step"), 2);
  (void)UndoLastRun(session_);
  EXPECT_EQ(rows(), before);

  // One player's photo, then undone.
  OpenPlayer(1);
  CreatePlayerPhoto(session_, 1);
  EXPECT_EQ(PlayerInt(1, "age_step"), 3);
  (void)UndoLastRun(session_);
  EXPECT_EQ(rows(), before);
}

TEST_F(AgingPhotoTest, WithTheSettingOffAPortraitIsExactlyTheOneWithoutAgeLayers) {
  AddPlayer({.id = 1, .hairColor = 1, .facialHairStyle = 2, .careerSeasons = 14});
  clock_.NextDraw(3, 2);    // accessory 2, kept on the row
  clock_.NextDraw(70, 41);  // background
  const PngImage off = Make(1);
  EXPECT_EQ(off.Pixel(13, 8), test::kFaceColor);
  EXPECT_EQ(off.Pixel(5, 4), test::kBrownHair);
  EXPECT_EQ(PlayerInt(1, "age_step"), 0);
  const std::string offBytes = Bytes(Portrait(1));

  // The same portrait with the setting on and no age layer in the kit at all.
  fs::remove_all(Graphics() / "aging");
  for (int step = 1; step < kAgeSteps; ++step) {
    fs::remove(GreyFacialHairFile(program_, "stubble", step));
  }
  SetSettingFlag("players_age", true);
  clock_.NextDraw(70, 41);
  (void)Make(1);
  EXPECT_EQ(Bytes(Portrait(1)), offBytes);
  EXPECT_EQ(PlayerInt(1, "age_step"), 3);  // the step it was made at, though nothing showed
}

TEST_F(AgingPhotoTest, APacksFaceAgesOnlyWhenItsDescriptionFollowsTheKitsGrid) {
  SetSettingFlag("players_age", true);
  // Two packs of one face each: face 2 from a pack that says it follows the grid, face 3 from one
  // that says nothing of it.
  const fs::path gridPack = folder_.Path() / "grid pack";
  const fs::path otherPack = folder_.Path() / "other pack";
  fs::create_directories(gridPack);
  fs::create_directories(otherPack);
  {
    std::ofstream(gridPack / kPackDescriptionFile) << "Sixty bearded faces\n"
                                                   << "  Follows the kit's layout grid \n";
    std::ofstream(otherPack / kPackDescriptionFile) << "Faces drawn my own way\n";
  }
  Database& db = session_.Data();
  MakeComponentsTable(db);
  {
    Table items(db, kComponentsTable);
    for (const auto& [pack, face, folder] :
         {std::tuple{1, 2, gridPack}, std::tuple{2, 3, otherPack}}) {
      items.Append();
      items.SetInt("pack_id", pack);
      items.SetText("kind", "faces");
      items.SetInt("ethnicity", 1);
      items.SetInt("number", face);
      items.SetText("location", "graphics/faces/caucasian/000000" + std::to_string(face) + ".png");
      items.SetText("source", (folder / "face.png").string());
      ASSERT_TRUE(items.Post()) << items.LastError();
    }
  }
  for (int face : {2, 3}) {
    fs::copy_file(Graphics() / "faces" / "caucasian" / "0000001.png",
                  Graphics() / "faces" / "caucasian" / ("000000" + std::to_string(face) + ".png"));
  }
  AddPlayer({.id = 1, .face = 2, .careerSeasons = 12});
  AddPlayer({.id = 2, .face = 3, .careerSeasons = 12});
  AddPlayer({.id = 3, .face = 1, .careerSeasons = 12});
  EXPECT_EQ(Make(1).Pixel(13, 8), AgeMark(3));
  EXPECT_EQ(Make(2).Pixel(13, 8), test::kFaceColor);  // drawn as it is
  EXPECT_EQ(PlayerInt(2, "age_step"), 3);             // not due again at every load
  EXPECT_EQ(Make(3).Pixel(13, 8), AgeMark(3));        // the kit's own face
}

TEST_F(AgingPhotoTest, TheDryRunCountsThePlayersAgedSinceTheirLastPhoto) {
  AddTeam({.id = 1});
  AddPlayer({.id = 1, .teamId = 1, .careerSeasons = 12, .ageStep = 2});  // aged
  AddPlayer({.id = 2, .teamId = 1, .careerSeasons = 12, .ageStep = 3});  // moved, same age
  AddPlayer({.id = 3, .teamId = 1, .careerSeasons = 1});                 // a rookie
  AddPlayer({.id = 4, .teamId = 1, .careerSeasons = 5});                 // first photo aged
  const auto aged = [this] { return DryRun(session_, RunChoice::Team(1)).total.aged; };
  // With the setting off, every portrait shows step 0: those made at another step are due.
  EXPECT_EQ(aged(), 2);
  SetSettingFlag("players_age", true);
  const DryRunSummary summary = DryRun(session_, RunChoice::Team(1));
  EXPECT_EQ(summary.total.aged, 2);
  ASSERT_EQ(summary.teams.size(), 1u);
  EXPECT_EQ(summary.teams[0].counts.aged, 2);
  EXPECT_NE(DryRunText(summary).find("      2    of them aged since the last photo\n"),
            std::string::npos)
      << DryRunText(summary);
  EXPECT_NE(DryRunJson(summary).find("\"aged\": 2"), std::string::npos);
}

TEST_F(AgingPhotoTest, MissingAgeLayersAreListedByTheDryRunAndLoggedOnceByTheRun) {
  AddPlayer({.id = 1, .facialHairStyle = 2, .careerSeasons = 12});
  AddPlayer({.id = 2, .facialHairStyle = 2, .careerSeasons = 13});
  AddPlayer({.id = 3, .careerSeasons = 5});
  const fs::path ageFace = AgeFaceFile(program_, 3);
  const fs::path greyStubble = GreyFacialHairFile(program_, "stubble", 3);
  fs::remove(ageFace);
  fs::remove(greyStubble);
  const auto dryRun = [this] {
    std::map<fs::path, ArtworkProblem> byFile;
    for (const ArtworkProblem& p :
         DryRun(session_, RunChoice::Universe({ReadUniverseFilters(session_), 0})).artwork) {
      byFile[p.file] = p;
    }
    return byFile;
  };
  // With the setting off no age layer is drawn, so none is missed.
  EXPECT_TRUE(dryRun().empty());

  SetSettingFlag("players_age", true);
  std::map<fs::path, ArtworkProblem> problems = dryRun();
  ASSERT_EQ(problems.size(), 2u);
  ASSERT_TRUE(problems.count(ageFace));
  EXPECT_EQ(problems[ageFace].what, "age layer");
  EXPECT_TRUE(problems[ageFace].missing);
  EXPECT_FALSE(problems[ageFace].stopsRun);
  EXPECT_EQ(problems[ageFace].players, 2);
  ASSERT_TRUE(problems.count(greyStubble));
  EXPECT_EQ(problems[greyStubble].what, "grey facial hair");
  EXPECT_EQ(problems[greyStubble].players, 2);
  const std::string text =
      DryRunText(DryRun(session_, RunChoice::Universe({ReadUniverseFilters(session_), 0})));
  EXPECT_NE(text.find(ageFace.string() + " is missing (2 portraits)"), std::string::npos) << text;

  // The run makes the portraits without them and logs each file once.
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 3);
  const std::vector<std::string> lines = LogLines();
  const auto logged = [&lines](const fs::path& file) {
    return std::count_if(lines.begin(), lines.end(), [&file](const std::string& line) {
      return line.find("\"" + file.string() + "\"") != std::string::npos &&
             line.find("is missing; portraits are made without it.") != std::string::npos;
    });
  };
  EXPECT_EQ(logged(ageFace), 1);
  EXPECT_EQ(logged(greyStubble), 1);
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(PlayerInt(1, "age_step"), 3);
}

}  // namespace
}  // namespace likentor
