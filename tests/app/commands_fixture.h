#pragma once

// A session with a loaded saved game "g" built directly in its tables: a games settings row, a
// teams table and a players table whose rows each test writes, in a temporary program folder. The
// user commands run on it as they would after a load.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/loaded_game.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "database/games_table.h"
#include "database/table_store.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "import/players_table.h"
#include "import/teams_table.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor::test {

struct PlayerRow {
  int id = 0;
  std::string first;
  std::string last;
  bool retired = false;
  bool locked = false;
  bool updateRequired = true;
};

class CommandsFixture : public ::testing::Test {
 protected:
  static constexpr const char* kGame = "g";

  CommandsFixture() {
    std::filesystem::create_directories(DataFolder(program_));
    std::filesystem::create_directories(Pictures());
    session_.SetProgramFolder(program_);
    session_.SetGameFolder(game_);
    session_.Log().CreateErrorFile();
    Database& db = session_.Data();
    CreateGamesTable(db);
    session_.Universal().GamesTable.Open(db, kGamesTable);
    CheckGamesTable(session_.Universal().GamesTable, session_.Log(), kGame);
    session_.Game().Saved = ResolveSavedGame(game_, kGame);
    CreateTeamsTable(db, session_.Game().Saved);
    CreatePlayersTable(db, session_.Game().Saved);
    session_.SetLoadedGameName(kGame);
  }

  ~CommandsFixture() override {
    session_.Game().PlayersQuery.Close();
    session_.Game().TeamsTable.Close();
    session_.Universal().GamesTable.Close();
  }

  std::filesystem::path Pictures() const { return PicturesFolder(SavedGameFolder(game_, kGame)); }

  void AddPlayer(const PlayerRow& p) {
    Table players(session_.Data(), PlayersTableName(kGame));
    players.Append();
    players.SetInt(kPlayerIdField, p.id);
    players.SetText(kFirstNameField, p.first);
    players.SetText(kLastNameField, p.last);
    players.SetInt(kNationIdField, 211);
    players.SetBool(kRetiredField, p.retired);
    players.SetInt(kTeamIdField, 1);
    players.SetBool(kLockedField, p.locked);
    players.SetBool(kUpdateRequiredField, p.updateRequired);
    ASSERT_TRUE(players.Post()) << players.LastError();
  }

  // Adds a team and leaves TeamsTable open on the teams table, as the load does.
  void AddTeam(int id, const std::string& name, const std::string& nickname,
               const std::string& uniform) {
    Table& teams = session_.Game().TeamsTable;
    if (!teams.IsOpen()) teams.Open(session_.Data(), TeamsTableName(kGame));
    teams.Append();
    teams.SetInt("team_id", id);
    teams.SetText("team_name", name);
    teams.SetText("nickname", nickname);
    teams.SetInt("league_id", 1);
    teams.SetInt("level", 1);
    teams.SetText("custom_uniform_file", uniform);
    ASSERT_TRUE(teams.Post()) << teams.LastError();
  }

  // One field of every row of a table, by key, as text.
  std::map<int, std::string> Column(const std::string& table, const std::string& field) {
    return ColumnByKey(session_.Data(), table, field);
  }

  // Makes the store refuse every update of the table's rows that meet `when` (SQL over NEW).
  void RefuseUpdates(const std::string& table, const std::string& when) {
    test::RefuseUpdates(session_.Data(), table, when);
  }

  // The error log's lines after its header.
  std::vector<std::string> LogLines() {
    auto lines = session_.Log().ShowErrors();
    lines.erase(lines.begin());
    return lines;
  }

  TempFolder folder_;
  std::filesystem::path program_ = folder_ / "program";
  std::filesystem::path game_ = folder_ / "game";
  ScriptedPrompts prompts_;
  Session session_{prompts_, {program_, program_}};
};

}  // namespace likentor::test
