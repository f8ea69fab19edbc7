// Commands that name a saved game use the tables of its last complete load when no export changed
// since, and import again when any did: checked on a small generated saved game, through the
// command line, with the exports changed on disk the ways a game or a user changes them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "database/connection.h"
#include "database/table_store.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "portrait/aging.h"
#include "shell/folders.h"
#include "support/command_line_runs.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

constexpr const char* kLoaded = "sample.lg loaded successfully.";
constexpr const char* kUnchanged = "sample.lg unchanged since the last load.";

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteAll(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Writes new bytes into an export and puts its modification time back as it was.
void WriteKeepingTime(const fs::path& file, const std::string& bytes) {
  const fs::file_time_type time = fs::last_write_time(file);
  WriteAll(file, bytes);
  fs::last_write_time(file, time);
}

// The exports are written in Latin-1; the command line prints UTF-8.
std::string Utf8(const std::string& latin1) {
  std::string text;
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

class LoadStampTest : public ::testing::Test {
 protected:
  LoadStampTest() {
    test::InstallDataFiles(program_);
    const Outcome setup =
        Run({"setup", "--program-folder", program_.string(), "--game-folder", game_.string()});
    EXPECT_EQ(setup.status, 0) << setup.err;
    test::WriteSmallSampleGame(game_);
    // The first player of the export: his id and the line that holds him.
    const std::string players = ReadAll(Export(kPlayersExport));
    const std::size_t start = players.find('\n') + 1;
    firstPlayer_ = players.substr(start, players.find('\n', start) - start);
    playerId_ = firstPlayer_.substr(0, firstPlayer_.find(';'));
  }

  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", program_.string()});
    return test::RunInProcess(std::move(args), program_);
  }

  fs::path Export(std::string_view name) const {
    return ImportExportFolder(SavedGameFolder(game_, "sample")) / std::string(name);
  }

  // What `search --id` of the first player says first; his row must show `lastName` (as the
  // export spells it).
  std::string Search(const std::string& lastName, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"search", "sample", "--id", playerId_};
    args.insert(args.end(), more.begin(), more.end());
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(";" + Utf8(lastName) + ";"), std::string::npos) << run.out;
    return FirstLine(run.out);
  }

  std::string LastName() const {
    std::vector<std::string> fields;
    std::istringstream line(firstPlayer_);
    for (std::string field; std::getline(line, field, ';');) fields.push_back(field);
    std::string name = fields.at(2);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
      name = name.substr(1, name.size() - 2);
    }
    return name;
  }

  void SetStoredLastName(const std::string& name) {
    Database db(DataFolder(program_));
    Table players(db, PlayersTableName("sample"));
    ASSERT_TRUE(players.Locate(kPlayerIdField, std::stoi(playerId_)));
    players.Edit();
    players.SetText(kLastNameField, name);
    ASSERT_TRUE(players.Post());
  }

  // Runs one statement on the players table, as if the table had been left so.
  void UpdatePlayers(const std::string& assignments) {
    Database db(DataFolder(program_));
    db.ConnectionFor(PlayersTableName("sample"))
        .Execute("UPDATE " + QuoteSqlName(PlayersTableName("sample")) + " SET " + assignments);
  }

  // The players flagged for a new photo, and those whose career length gives an age step.
  std::set<int> Flagged() {
    return PlayersWhere([](const Cursor& p) { return p.GetBool("update_required"); });
  }
  std::set<int> Veterans() {
    return PlayersWhere([](const Cursor& p) { return AgeStep(p.GetInt("career_seasons", 0)) > 0; });
  }
  template <typename Test>
  std::set<int> PlayersWhere(Test test) {
    Database db(DataFolder(program_));
    Table players(db, PlayersTableName("sample"));
    std::set<int> ids;
    for (players.First(); !players.Eof(); players.Next()) {
      if (test(players)) ids.insert(players.GetInt("player_id"));
    }
    return ids;
  }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
  fs::path game_ = folder_ / "game";
  std::string firstPlayer_;
  std::string playerId_;
};

TEST_F(LoadStampTest, UnchangedExportsAreNotImportedAgainUnlessAsked) {
  Outcome run = Run({"load", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FirstLine(run.out), kLoaded);
  // The load command itself always imports.
  EXPECT_EQ(FirstLine(Run({"load", "sample"}).out), kLoaded);

  // A row changed in the table stays so: nothing was imported over it.
  SetStoredLastName("Stamped");
  EXPECT_EQ(Search("Stamped"), kUnchanged);
  run = Run({"lock", "sample", "all"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kUnchanged) + "\nSuccess!\n");

  // --reload imports, and the export's name is back.
  EXPECT_EQ(Search(LastName(), {"--reload"}), kLoaded);
  EXPECT_EQ(Search(LastName()), kUnchanged);
}

TEST_F(LoadStampTest, EveryChangeOfAnExportIsSeen) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  SetStoredLastName("Stamped");
  ASSERT_EQ(Search("Stamped"), kUnchanged);

  // Touched: the same bytes with a new time. The import runs (and finds nothing new).
  const fs::path players = Export(kPlayersExport);
  fs::last_write_time(players, fs::last_write_time(players) + std::chrono::seconds(1));
  EXPECT_EQ(Search(LastName()), kLoaded);
  EXPECT_EQ(Search(LastName()), kUnchanged);

  // One letter of a name changed, the size and the time kept: only the bytes tell.
  std::string bytes = ReadAll(players);
  const std::string edited = "Q" + LastName().substr(1);
  ASSERT_NE(edited, LastName());
  const std::size_t at = bytes.find(firstPlayer_) + firstPlayer_.find(LastName());
  bytes.replace(at, edited.size(), edited);
  WriteKeepingTime(players, bytes);
  EXPECT_EQ(Search(edited), kLoaded);
  EXPECT_EQ(Search(edited), kUnchanged);

  // A career export cut short, its time kept.
  const fs::path pitching = Export(kPitchingExport);
  std::string lines = ReadAll(pitching);
  ASSERT_GT(lines.size(), 2U);
  lines.erase(lines.rfind('\n', lines.size() - 2) + 1);
  WriteKeepingTime(pitching, lines);
  EXPECT_EQ(Search(edited), kLoaded);
  EXPECT_EQ(Search(edited), kUnchanged);

  // A stamp that lacks one of the exports the load reads (a load that read fewer of them).
  {
    Database db(DataFolder(program_));
    db.ConnectionFor(PlayersTableName("sample"))
        .Execute("DELETE FROM load_stamp WHERE export = 'leagues.csv'");
  }
  EXPECT_EQ(Search(edited), kLoaded);
  EXPECT_EQ(Search(edited), kUnchanged);

  // A table of the last load gone.
  fs::remove(DataFolder(program_) / BattingTableName("sample"));
  EXPECT_EQ(Search(edited), kLoaded);
  EXPECT_EQ(Search(edited), kUnchanged);
}

TEST_F(LoadStampTest, ALoadThatDidNotFinishIsNotTakenForTheLastLoad) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const fs::path teams = Export(kTeamsExport);
  const fs::path players = Export(kPlayersExport);
  const std::string teamsBefore = ReadAll(teams);
  const std::string playersBefore = ReadAll(players);
  const fs::file_time_type teamsTime = fs::last_write_time(teams);
  const fs::file_time_type playersTime = fs::last_write_time(players);

  // The teams import takes a renamed team; the players import then stops on a bad id.
  std::string renamed = teamsBefore;
  const std::size_t second = renamed.find('\n') + 1;
  const std::size_t nameAt = renamed.find(';', second) + 1;
  renamed.insert(nameAt, "X");
  WriteAll(teams, renamed);
  std::string broken = playersBefore;
  broken.insert(broken.find(firstPlayer_), "x");
  WriteAll(players, broken);
  Outcome run = Run({"search", "sample", "--id", playerId_});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("players.csv line 2"), std::string::npos) << run.err;

  // Every export back as the complete load read it, times too: the teams table holds what the
  // stopped load imported, so the next command imports again.
  WriteAll(teams, teamsBefore);
  fs::last_write_time(teams, teamsTime);
  WriteAll(players, playersBefore);
  fs::last_write_time(players, playersTime);
  EXPECT_EQ(Search(LastName()), kLoaded);
  EXPECT_EQ(Search(LastName()), kUnchanged);
}

// The setting that players age may be switched after the last load: a command that takes that
// load's tables flags the players whose portraits no longer show their step, as a load does.
TEST_F(LoadStampTest, AnUnchangedGameFlagsThePlayersWhomTheAgeSettingAgesOrTakesBack) {
  test::WriteSmallSampleGame(game_, 14);
  ASSERT_EQ(FirstLine(Run({"load", "sample"}).out), kLoaded);
  const std::set<int> veterans = Veterans();
  ASSERT_FALSE(veterans.empty());
  ASSERT_LT(veterans.size(), PlayersWhere([](const Cursor&) { return true; }).size());
  const auto search = [this](bool reload = false) {
    std::vector<std::string> args = {"search", "sample", "--id", playerId_};
    if (reload) args.push_back("--reload");
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return FirstLine(run.out);
  };
  // Every portrait made with the setting off, at step 0; then the setting switched on and saved.
  UpdatePlayers("update_required = 'false', age_step = 0");
  Outcome run = Run({"settings", "sample", "players_age=true"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FirstLine(run.out), kUnchanged);
  // The dry run only reads, so it flags nobody, but it counts the players its run's load will flag.
  run = Run({"photos", "sample", "--dry-run", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"total\": {\"selected\": " + std::to_string(veterans.size()) + ","),
            std::string::npos)
      << run.out;
  EXPECT_EQ(Flagged(), std::set<int>{});
  EXPECT_EQ(search(), kUnchanged);
  EXPECT_EQ(Flagged(), veterans);
  // The import flags the same players.
  UpdatePlayers("update_required = 'false'");
  EXPECT_EQ(search(true), kLoaded);
  EXPECT_EQ(Flagged(), veterans);
  EXPECT_EQ(search(), kUnchanged);
  EXPECT_EQ(Flagged(), veterans);

  // Their portraits made at their steps, and nobody is due while the setting stays.
  UpdatePlayers("update_required = 'false', age_step = MIN(career_seasons / 4, 3)");
  EXPECT_EQ(search(), kUnchanged);
  EXPECT_EQ(Flagged(), std::set<int>{});
  // The setting switched off again: the same players are due, to lose their age.
  run = Run({"settings", "sample", "players_age=false"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(search(), kUnchanged);
  EXPECT_EQ(Flagged(), veterans);
}

}  // namespace
}  // namespace likentor
