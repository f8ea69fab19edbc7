// Faces that differ within a team, on a league loaded by a real session from a generated saved
// game: the import's setting spread_faces (with a games table of an earlier version too), and the
// spread of a loaded league, which must leave no two unlocked teammates of one ethnicity with one
// face, change nobody else and keep the face counts within what the draws give (chi-square). The
// face catalogues are cut to 100 faces, so that teammates share faces often.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/game_load.h"
#include "app/game_settings.h"
#include "app/player_looks.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "database/connection.h"
#include "database/games_table.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "samplegame/sample_game.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/chi_square.h"
#include "support/program_folder.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;
using Counts = std::vector<std::int64_t>;

constexpr int kFaces = 100;
constexpr int kTeams = 30;
constexpr int kPlayers = 3000;
const char* const kFaceTables[] = {"", "faces_caucasian.db", "faces_asian.db", "faces_african.db",
                                   "faces_east_indian.db"};

struct Row {
  int teamId = 0;
  bool retired = false;
  bool locked = false;
  bool updateRequired = false;
  int ethnicity = 0;
  int face = 0;
};

class SpreadFacesTest : public ::testing::Test {
 protected:
  SpreadFacesTest() { ::setenv("HOME", (folder_ / "home").c_str(), 1); }

  // A program set up afresh, its face catalogues cut to kFaces, with saved games `names` written
  // (the same league under each name).
  void SetUpProgram(const std::vector<std::string>& names) {
    root_ = folder_ / ("attempt" + std::to_string(++attempts_));
    program_ = root_ / "program";
    game_ = root_ / "game";
    test::InstallDataFiles(program_);
    prompts_.AnswerFolder(program_);
    prompts_.AnswerFolder(game_);
    session_.reset();
    {
      ScriptedPrompts setup;
      setup.AnswerFolder(program_);
      setup.AnswerFolder(game_);
      Session first(setup, {program_, program_});
      first.Startup(Session::Missing::RunSetup);
      for (int e = 1; e <= 4; ++e) {
        first.Data()
            .ConnectionFor(kFaceTables[e])
            .Execute("DELETE FROM " + QuoteSqlName(kFaceTables[e]) + " WHERE face_id > " +
                     std::to_string(kFaces));
      }
      first.Shutdown();
    }
    for (const std::string& name : names) {
      samplegame::SampleGameOptions options;
      options.gameFolder = game_.string();
      options.name = name;
      options.teams = kTeams;
      options.players = kPlayers;
      options.years = 1;
      options.nationsFile = (program_ / "data" / "nations.csv").string();
      samplegame::GenerateSampleGame(options);
    }
    session_ = std::make_unique<Session>(prompts_, SessionPlaces{program_, program_});
    session_->Startup(Session::Missing::Fail);
  }

  void TearDown() override {
    if (session_) session_->Shutdown();
  }

  std::map<int, Row> Players(const std::string& game) {
    Table t(session_->Data(), game + "_players.db");
    std::map<int, Row> rows;
    for (t.First(); !t.Eof(); t.Next()) {
      rows[t.GetInt(kPlayerIdField)] = {
          t.GetInt(kTeamIdField, 0),       t.GetBool(kRetiredField),     t.GetBool(kLockedField),
          t.GetBool(kUpdateRequiredField), t.GetInt(kEthnicityField, 0), t.GetInt(kFaceField, 0)};
    }
    return rows;
  }

  // Roster players who wear a face that a teammate of the same ethnicity wears too.
  static int SharedFaces(const std::map<int, Row>& players) {
    std::map<std::tuple<int, int, int>, int> worn;
    for (const auto& [id, p] : players) {
      if (p.teamId != 0 && !p.retired) ++worn[{p.teamId, p.ethnicity, p.face}];
    }
    int shared = 0;
    for (const auto& [key, count] : worn) shared += count > 1 ? count : 0;
    return shared;
  }

  test::TempFolder folder_;
  int attempts_ = 0;
  fs::path root_, program_, game_;
  ScriptedPrompts prompts_;
  std::unique_ptr<Session> session_;
};

// The chances of the faces 1..c-2 that GetFace gives from a catalogue of c (face 1 twice as
// likely as each other), as category k = face - 1.
std::vector<double> FaceChances(int catalogue) {
  const int n = catalogue - 1;
  std::vector<double> chances(n - 1, 1.0 / n);
  chances[0] = 2.0 / n;
  return chances;
}

TEST_F(SpreadFacesTest, TheImportSettingGivesNewTeammatesDifferentFaces) {
  SetUpProgram({"off", "on"});
  // The setting of "on" is set before its first load, as a later load finds it; "off" keeps the
  // default. A games table of an earlier version, without the field, first gets it at start-up.
  session_->Shutdown();
  session_.reset();
  {
    Database old(DataFolder(program_));
    Connection& games = old.ConnectionFor(kGamesTable);
    games.Execute("ALTER TABLE " + games.QuotedTable() + " DROP COLUMN \"spread_faces\"");
  }
  session_ = std::make_unique<Session>(prompts_, SessionPlaces{program_, program_});
  session_->Startup(Session::Missing::Fail);
  Table& games = session_->Universal().GamesTable;
  CheckGamesTable(games, session_->Log(), "on");
  EXPECT_FALSE(games.GetBool("spread_faces"));  // the default
  EXPECT_FALSE(SpreadFacesSetting(*session_, "on"));
  EditSettings(*session_, {ParseSettingChange("spread_faces=true")});
  EXPECT_TRUE(SpreadFacesSetting(*session_, "on"));  // as shown, before it is saved
  ASSERT_TRUE(SaveSettingsBtnClick(*session_));

  LoadGame(*session_, "off");
  EXPECT_FALSE(SpreadFacesSetting(*session_, "off"));
  LoadGame(*session_, "on");
  EXPECT_TRUE(SpreadFacesSetting(*session_, "on"));
  const int sharedOff = SharedFaces(Players("off"));
  const int sharedOn = SharedFaces(Players("on"));
  std::cout << "  teammates sharing a face: " << sharedOff << " without the setting, " << sharedOn
            << " with it\n";
  // A face is drawn again three times at most: a few may stay shared where a team wears most
  // of the catalogue, far fewer than the draws alone give.
  EXPECT_GT(sharedOff, 200);
  EXPECT_LT(sharedOn * 10, sharedOff);
}

TEST_F(SpreadFacesTest, SpreadLeavesNoSharedFaceChangesNobodyElseAndKeepsTheFaceCounts) {
  const test::ChiSquareResults results = test::WithOneRetry([this] {
    test::ChiSquareResults set;
    SetUpProgram({"sample"});
    LoadGame(*session_, "sample");
    const std::map<int, Row> before = Players("sample");
    EXPECT_GT(SharedFaces(before), 200);

    const std::vector<SpreadChange> changes = SpreadFaces(*session_, std::nullopt);
    const std::map<int, Row> after = Players("sample");
    std::map<int, const SpreadChange*> changed;
    for (const SpreadChange& c : changes) changed[c.playerId] = &c;
    for (const auto& [id, p] : after) {
      const Row& was = before.at(id);
      EXPECT_EQ(p.ethnicity, was.ethnicity) << id;
      if (changed.contains(id)) {
        EXPECT_FALSE(was.locked || was.retired || was.teamId == 0) << id;
        EXPECT_EQ(changed[id]->oldFace, was.face) << id;
        EXPECT_EQ(p.face, changed[id]->newFace) << id;
        EXPECT_NE(p.face, was.face) << id;
        EXPECT_TRUE(p.updateRequired) << id;
      } else {
        EXPECT_EQ(p.face, was.face) << id;
        EXPECT_EQ(p.updateRequired, was.updateRequired) << id;
      }
    }
    // The teams wear far fewer than 98 faces of one ethnicity: every unlocked teammate can have
    // his own. Locked players keep theirs, so only a pair of two locked ones may stay.
    std::map<std::tuple<int, int, int>, int> unlockedWearers;
    for (const auto& [id, p] : after) {
      if (p.teamId != 0 && !p.retired && !p.locked)
        ++unlockedWearers[{p.teamId, p.ethnicity, p.face}];
    }
    for (const auto& [key, count] : unlockedWearers) EXPECT_EQ(count, 1);
    for (const auto& [id, p] : after) {
      if (p.teamId != 0 && !p.retired && p.locked) {
        EXPECT_FALSE(unlockedWearers.contains({p.teamId, p.ethnicity, p.face})) << id;
      }
    }

    // The face counts of each ethnicity over the league still follow the draw's chances.
    std::vector<Counts> faces(5, Counts(kFaces - 2, 0));
    for (const auto& [id, p] : after) {
      EXPECT_GE(p.face, 1) << id;
      EXPECT_LE(p.face, kFaces - 2) << id;
      if (p.face < 1 || p.face > kFaces - 2 || p.ethnicity < 1 || p.ethnicity > 4) continue;
      ++faces[p.ethnicity][p.face - 1];
    }
    for (int e = 1; e <= 4; ++e) {
      set.emplace_back("faces of ethnicity " + std::to_string(e) + " after the spread",
                       test::GoodnessOfFit(faces[e], FaceChances(kFaces)));
    }
    session_->Shutdown();
    session_.reset();
    return set;
  });
  if (HasFatalFailure()) return;
  ASSERT_EQ(results.size(), 4u);
  for (const auto& [what, result] : results) EXPECT_TRUE(result.Passes()) << what << ": " << result;
}

}  // namespace
}  // namespace likentor
