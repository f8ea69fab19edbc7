// relook and spread on a small generated saved game, with the build's artwork kit for the
// portraits: checked against the players table they leave.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "database/table_store.h"
#include "import/players_fields.h"
#include "shell/folders.h"
#include "support/command_line_runs.h"
#include "support/kit_game_fixture.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/temp_folder.h"

// Fontconfig, under Cairo's text, keeps its caches for the life of the process by design.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}

namespace likentor {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

struct Player {
  int teamId = 0;
  bool retired = false;
  bool locked = false;
  bool updateRequired = false;
  int ethnicity = 0;
  int face = 0;
  int hairColor = 0;
  int facialHair = 0;
};

class LooksCommandTest : public test::KitGameTest {
 protected:
  void SetUp() override {
    KitGameTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const Outcome load = Run({"load", "sample"});
    ASSERT_EQ(load.status, 0) << load.err;
  }

  std::map<int, Player> Players() {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    std::map<int, Player> rows;
    for (t.First(); !t.Eof(); t.Next()) {
      rows[t.GetInt(kPlayerIdField)] = {
          t.GetInt(kTeamIdField, 0),    t.GetBool(kRetiredField),
          t.GetBool(kLockedField),      t.GetBool(kUpdateRequiredField),
          t.GetInt(kEthnicityField, 0), t.GetInt(kFaceField, 0),
          t.GetInt(kHairColorField, 0), t.GetInt(kFacialHairStyleField, 0)};
    }
    return rows;
  }

  // Writes fields of one player's row as a user's editing would.
  void SetPlayer(int id, const std::map<std::string, int>& ints,
                 const std::map<std::string, bool>& flags = {}) {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    ASSERT_TRUE(t.Locate(kPlayerIdField, id));
    t.Edit();
    for (const auto& [field, value] : ints) t.SetInt(field, value);
    for (const auto& [field, value] : flags) t.SetBool(field, value);
    ASSERT_TRUE(t.Post()) << t.LastError();
  }

  // An unlocked caucasian player on an active roster, with a teammate.
  int RosterPlayer() {
    for (const auto& [id, p] : Players()) {
      if (p.teamId != 0 && !p.retired && !p.locked && p.ethnicity == 1) return id;
    }
    ADD_FAILURE() << "no unlocked caucasian player on a roster";
    return 0;
  }
};

TEST_F(LooksCommandTest, RelookDrawsANewFaceKeepsWhatItIsToldAndRespectsLocks) {
  const int id = RosterPlayer();
  ASSERT_NE(id, 0);
  const std::string idText = std::to_string(id);
  SetPlayer(id, {}, {{"update_required", false}});

  // A whole new look, several times: never the face he had, nor a teammate's.
  for (int round = 0; round < 8; ++round) {
    const std::map<int, Player> before = Players();
    const Player old = before.at(id);
    const Outcome run = Run({"relook", "sample", "--player", idText});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Player " + idText + " ("), std::string::npos) << run.out;
    const std::map<int, Player> after = Players();
    const Player now = after.at(id);
    EXPECT_TRUE(now.updateRequired);
    EXPECT_FALSE(now.ethnicity == old.ethnicity && now.face == old.face) << round;
    for (const auto& [other, p] : after) {
      if (other == id || p.teamId != now.teamId || p.retired) continue;
      EXPECT_FALSE(p.ethnicity == now.ethnicity && p.face == now.face) << other;
      // Nobody else changed.
      EXPECT_EQ(p.face, before.at(other).face) << other;
    }
    EXPECT_GE(now.ethnicity, 1);
    EXPECT_LE(now.ethnicity, 4);
    if (now.ethnicity != 1) {
      EXPECT_EQ(now.hairColor, 1);
    }
    SetPlayer(id, {}, {{"update_required", false}});
  }

  // --keep ethnicity: the ethnicity stays, the face changes.
  SetPlayer(id, {{"ethnicity", 2}, {"face", 40}, {"hair_color", 1}});
  Outcome run = Run({"relook", "sample", "--player", idText, "--keep", "ethnicity"});
  ASSERT_EQ(run.status, 0) << run.err;
  Player now = Players().at(id);
  EXPECT_EQ(now.ethnicity, 2);
  EXPECT_NE(now.face, 40);
  EXPECT_EQ(now.hairColor, 1);

  // --keep hair: ethnicity, hair colour and facial hair stay; only the face is new.
  SetPlayer(id, {{"ethnicity", 1}, {"face", 77}, {"hair_color", 2}, {"facial_hair_style", 5}});
  run = Run({"relook", "sample", "--player", idText, "--keep", "hair"});
  ASSERT_EQ(run.status, 0) << run.err;
  now = Players().at(id);
  EXPECT_EQ(now.ethnicity, 1);
  EXPECT_NE(now.face, 77);
  EXPECT_EQ(now.hairColor, 2);
  EXPECT_EQ(now.facialHair, 5);

  run = Run({"relook", "sample", "--player", idText, "--keep", "nose"});
  EXPECT_EQ(run.status, 2);

  // A locked player: refused without --force, his row untouched.
  SetPlayer(id, {}, {{"locked", true}, {"update_required", false}});
  const Player locked = Players().at(id);
  run = Run({"relook", "sample", "--player", idText});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("--force"), std::string::npos) << run.err;
  EXPECT_EQ(Players().at(id).face, locked.face);
  EXPECT_FALSE(Players().at(id).updateRequired);

  // --force --photo: a new face and his portrait at once, which clears the flag.
  const fs::path portrait =
      PicturesFolder(SavedGameFolder(game_, "sample")) / ("Player_" + idText + ".png");
  fs::remove(portrait);
  run = Run({"relook", "sample", "--player", idText, "--photo", "--force"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Created photo " + portrait.string()), std::string::npos) << run.out;
  EXPECT_TRUE(fs::exists(portrait));
  now = Players().at(id);
  EXPECT_NE(now.face, locked.face);
  EXPECT_FALSE(now.updateRequired);

  run = Run({"relook", "sample", "--player", "999999"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("There is no player 999999"), std::string::npos) << run.err;
}

TEST_F(LooksCommandTest, SpreadGivesSharedFacesAwayAndChangesNobodyElse) {
  // Team 1's roster: four caucasian players made to share face 7, one of them locked; a retired
  // player and a player without a team wear it too.
  std::vector<int> teamOne;
  int retired = 0;
  int noTeam = 0;
  for (const auto& [id, p] : Players()) {
    if (p.teamId == 1 && !p.retired && teamOne.size() < 4) teamOne.push_back(id);
    if (p.retired && retired == 0 && p.teamId == 1) retired = id;
    if (p.teamId == 0 && noTeam == 0) noTeam = id;
  }
  ASSERT_EQ(teamOne.size(), 4u);
  // The rest of the team on faces of their own, so that the only pair is the one made here (the
  // load's random draws may have given two of them one face).
  int own = 100;
  for (const auto& [id, p] : Players()) {
    if (p.teamId == 1 && !p.retired &&
        std::find(teamOne.begin(), teamOne.end(), id) == teamOne.end()) {
      SetPlayer(id, {{"face", own++}});
    }
  }
  for (int id : teamOne) {
    SetPlayer(id, {{"ethnicity", 1}, {"face", 7}}, {{"locked", false}, {"update_required", false}});
  }
  SetPlayer(teamOne[2], {}, {{"locked", true}});
  if (retired != 0) SetPlayer(retired, {{"ethnicity", 1}, {"face", 7}});
  if (noTeam != 0) SetPlayer(noTeam, {{"ethnicity", 1}, {"face", 7}});
  // Team 2: two players sharing a face, left alone by a spread of team 1.
  std::vector<int> teamTwo;
  for (const auto& [id, p] : Players()) {
    if (p.teamId == 2 && !p.retired && !p.locked && teamTwo.size() < 2) teamTwo.push_back(id);
  }
  ASSERT_EQ(teamTwo.size(), 2u);
  for (int id : teamTwo) SetPlayer(id, {{"ethnicity", 3}, {"face", 11}});

  const std::map<int, Player> before = Players();
  Outcome run = Run({"spread", "sample", "--team", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::map<int, Player> after = Players();
  // The locked player keeps face 7; the three others get faces nobody on the team wears.
  const std::set<int> moved = {teamOne[0], teamOne[1], teamOne[3]};
  for (int id : moved) {
    EXPECT_NE(after.at(id).face, 7) << id;
    EXPECT_TRUE(after.at(id).updateRequired) << id;
    EXPECT_NE(run.out.find("Player " + std::to_string(id) + " ("), std::string::npos) << run.out;
  }
  EXPECT_NE(run.out.find("Gave 3 players new faces."), std::string::npos) << run.out;
  for (const auto& [id, p] : after) {
    if (!moved.contains(id)) {
      EXPECT_EQ(p.face, before.at(id).face) << id;
      EXPECT_EQ(p.updateRequired, before.at(id).updateRequired) << id;
    }
  }

  // The whole universe: no two unlocked roster teammates of one ethnicity share a face. Team 2's
  // pair loses one of its faces (the sample's own draws may have made other pairs).
  run = Run({"spread", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  const bool firstMoved =
      run.out.find("Player " + std::to_string(teamTwo[0]) + " (") != std::string::npos;
  const bool secondMoved =
      run.out.find("Player " + std::to_string(teamTwo[1]) + " (") != std::string::npos;
  EXPECT_NE(firstMoved, secondMoved) << run.out;
  std::size_t lines = 0;
  for (std::size_t at = run.out.find("\nPlayer "); at != std::string::npos;
       at = run.out.find("\nPlayer ", at + 1)) {
    ++lines;
  }
  if (run.out.starts_with("Player ")) ++lines;
  EXPECT_NE(run.out.find(lines == 1 ? "Gave 1 player a new face."
                                    : "Gave " + std::to_string(lines) + " players new faces."),
            std::string::npos)
      << run.out;
  after = Players();
  std::map<std::tuple<int, int, int>, int> worn;
  for (const auto& [id, p] : after) {
    if (p.teamId != 0 && !p.retired) ++worn[{p.teamId, p.ethnicity, p.face}];
  }
  for (const auto& [key, count] : worn) {
    EXPECT_EQ(count, 1) << "team " << std::get<0>(key) << " face " << std::get<2>(key);
  }
  EXPECT_EQ(after.at(teamOne[2]).face, 7);
  if (retired != 0) {
    EXPECT_EQ(after.at(retired).face, 7);
  }
  if (noTeam != 0) {
    EXPECT_EQ(after.at(noTeam).face, 7);
  }

  run = Run({"spread", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("No two teammates share a face."), std::string::npos) << run.out;

  run = Run({"spread", "sample", "--team", "99"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("There is no team 99"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace likentor
