// The photos and sheet commands on a small generated saved game with the real artwork kit of the
// build, checked against the players table and the picture folder they leave.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "database/connection.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "portrait/png_image.h"
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

struct Row {
  int teamId = 0;
  bool locked = false;
  bool updateRequired = false;
};

class PhotosCommandTest : public test::KitGameTest {
 protected:
  std::map<int, Row> Players(const std::string& game = "sample") {
    Database db(DataFolder(program_));
    Table t(db, game + "_players.db");
    std::map<int, Row> rows;
    for (t.First(); !t.Eof(); t.Next()) {
      rows[t.GetInt(kPlayerIdField)] = {t.GetInt(kTeamIdField, 0), t.GetBool(kLockedField),
                                        t.GetBool(kUpdateRequiredField)};
    }
    return rows;
  }

  fs::path Pictures() const { return PicturesFolder(SavedGameFolder(game_, "sample")); }
  fs::path Portrait(int id) const { return Pictures() / ("Player_" + std::to_string(id) + ".png"); }
};

// Every command here runs on a game loaded before with the same exports: it uses that load.
constexpr const char* kUnchanged = "sample.lg unchanged since the last load.\n";

TEST_F(PhotosCommandTest, TeamThenUniverseThenNothingLeft) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const std::map<int, Row> before = Players();
  std::map<int, std::string> lockedBytes;
  for (const auto& [id, row] : before) {
    if (row.locked && fs::exists(Portrait(id))) lockedBytes[id] = test::ReadBytes(Portrait(id));
  }

  Outcome run = Run({"photos", "sample", "--team", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::set<int> teamTwo;
  for (const auto& [id, row] : before) {
    if (row.teamId == 2 && row.updateRequired && !row.locked) teamTwo.insert(id);
  }
  ASSERT_FALSE(teamTwo.empty());
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Successfully created " +
                         std::to_string(teamTwo.size()) + " photos.\n");
  std::map<int, Row> after = Players();
  for (const auto& [id, row] : after) {
    EXPECT_EQ(row.updateRequired, before.at(id).updateRequired && !teamTwo.contains(id)) << id;
  }
  for (int id : teamTwo) {
    const PngImage p = PngImage::Load(Portrait(id));
    EXPECT_EQ(p.Width(), 90);
    EXPECT_EQ(p.Height(), 135);
  }

  run = Run({"photos", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  after = Players();
  int made = 0;
  for (const auto& [id, row] : after) {
    if (before.at(id).updateRequired && !row.updateRequired && !teamTwo.contains(id)) ++made;
    // A locked player keeps his flag: no run writes over his picture.
    if (row.locked) {
      EXPECT_EQ(row.updateRequired, before.at(id).updateRequired) << id;
    }
  }
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Successfully created " + std::to_string(made) +
                         " photos.\n");
  for (const auto& [id, bytes] : lockedBytes) EXPECT_EQ(test::ReadBytes(Portrait(id)), bytes) << id;

  run = Run({"photos", "sample", "--scope", "3"});
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Successfully created 0 photos.\n");
}

TEST_F(PhotosCommandTest, ARunWithRefusedRowsEndsWithTheirCount) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  std::vector<int> teamTwo;
  for (const auto& [id, row] : Players()) {
    if (row.teamId == 2 && row.updateRequired && !row.locked) teamTwo.push_back(id);
  }
  ASSERT_GE(teamTwo.size(), 2u);
  {
    // The store refuses to record the portrait of one player of the run.
    Database db(DataFolder(program_));
    db.ConnectionFor("sample_players.db")
        .Execute(
            "CREATE TRIGGER refuse BEFORE UPDATE ON \"sample_players.db\" WHEN new.update_required "
            "= 'false' AND old.player_id = " +
            std::to_string(teamTwo.front()) + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
  }
  const Outcome run = Run({"photos", "sample", "--team", "2"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, kUnchanged);
  EXPECT_EQ(run.err, "Created " + std::to_string(teamTwo.size()) +
                         " photos with 1 error; see the errors log.\n");
  EXPECT_TRUE(Players().at(teamTwo.front()).updateRequired);
  EXPECT_FALSE(Players().at(teamTwo.back()).updateRequired);

  // Again: the one player still flagged is made over his picture, which is kept, and the message
  // says both.
  const Outcome again = Run({"photos", "sample", "--team", "2"});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(
      again.err,
      "Created 1 photos with 1 error; see the errors log. 1 earlier picture was kept; Tools > "
      "Undo Last Run brings them back.\n");
}

TEST_F(PhotosCommandTest, OnePlayerAndLockedOnlyWithForce) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  int lockedId = 0;
  int freeId = 0;
  for (const auto& [id, row] : Players()) {
    if (row.locked && lockedId == 0) lockedId = id;
    if (!row.locked && freeId == 0) freeId = id;
  }
  ASSERT_NE(lockedId, 0);
  Outcome run = Run({"photos", "sample", "--player", std::to_string(freeId)});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Created photo " + Portrait(freeId).string() + "\n");
  EXPECT_FALSE(Players().at(freeId).updateRequired);

  const std::string mine = test::ReadBytes(Portrait(lockedId));
  run = Run({"photos", "sample", "--player", std::to_string(lockedId)});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("locked"), std::string::npos) << run.err;
  EXPECT_EQ(test::ReadBytes(Portrait(lockedId)), mine);
  run = Run({"photos", "sample", "--player", std::to_string(lockedId), "--force"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(test::ReadBytes(Portrait(lockedId)), mine);
  EXPECT_EQ(PngImage::Load(Portrait(lockedId)).Width(), 90);

  run = Run({"photos", "sample", "--player", "99999"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Run({"photos", "sample", "--scope", "7"}).status, 2);
  EXPECT_EQ(Run({"photos", "sample", "--team", "1", "--player", "3"}).status, 2);
  EXPECT_EQ(Run({"photos", "sample", "--force"}).status, 2);
  EXPECT_EQ(Run({"photos", "nosuchgame"}).status, 1);
}

TEST_F(PhotosCommandTest, SheetOfOneTeamAndOfEveryone) {
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  const fs::path out = folder_ / "sheet.png";
  Outcome run = Run({"sheet", "sample", out.string(), "--team", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  int teamOne = 0;
  for (const auto& [id, row] : Players()) {
    if (row.teamId == 1 && fs::exists(Portrait(id))) ++teamOne;
  }
  ASSERT_GT(teamOne, 0);
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Contact sheet of " + std::to_string(teamOne) +
                         " portraits: " + out.string() + "\n");
  const PngImage sheet = PngImage::Load(out);
  const int columns = std::min(teamOne, 10);
  EXPECT_EQ(sheet.Width(), 2 * 8 + columns * 100);
  EXPECT_EQ(sheet.Height(), 36 + 8 + (teamOne + 9) / 10 * 156);

  run = Run({"sheet", "sample", out.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Run({"sheet", "sample", out.string(), "--team", "77"}).status, 1);
}

// A saved game's name reaches statements only quoted: a name holding quotes, a semicolon, comment
// marks, LIKE wildcards or blanks names that game's tables and no other.
TEST_F(PhotosCommandTest, ASavedGameNameNeverChangesAStatement) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const std::map<int, Row> sample = Players();
  for (const std::string name : {"sample_players.db\" --", "x\"y", "o'k; --", "50%_ off"}) {
    SCOPED_TRACE(name);
    fs::copy(SavedGameFolder(game_, "sample"), SavedGameFolder(game_, name),
             fs::copy_options::recursive);
    const Outcome photos = Run({"photos", name, "--team", "1"});
    ASSERT_EQ(photos.status, 0) << photos.err;
    EXPECT_NE(photos.out.find("Successfully created "), std::string::npos) << photos.out;
    std::set<int> made;
    for (const auto& [id, row] : Players(name)) {
      if (row.teamId == 1 && !row.locked) {
        EXPECT_FALSE(row.updateRequired) << id;
        made.insert(id);
      }
    }
    EXPECT_FALSE(made.empty());
    const Outcome lock = Run({"lock", name, "all"});
    ASSERT_EQ(lock.status, 0) << lock.err;
    for (const auto& [id, row] : Players(name)) EXPECT_TRUE(row.locked) << id;
    // The game named in the text of the others is untouched.
    for (const auto& [id, row] : Players()) {
      EXPECT_EQ(row.locked, sample.at(id).locked) << id;
      EXPECT_EQ(row.updateRequired, sample.at(id).updateRequired) << id;
    }
  }
}

}  // namespace
}  // namespace likentor
