// Whole loads of sample saved games through the session: a first load, then a load of the same game
// a season later, checked row by row against what the exports prescribe; closing; refused folders;
// a load that fails part way.

#include "app/game_load.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <set>

#include "app/game_settings.h"
#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "import/export_expectations.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "portrait/uniforms.h"
#include "samplegame/sample_game.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/program_folder.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;
using Kind = ScriptedPrompts::Kind;

// A program set up in a temporary folder (shared tables built from the shipped data files) and a
// game folder where the sample generator writes saved games.
class GameLoadTest : public ::testing::Test {
 protected:
  GameLoadTest() {
    ::setenv("HOME", (folder_ / "home").c_str(), 1);
    test::InstallDataFiles(program_);
    prompts_.AnswerFolder(program_);
    prompts_.AnswerFolder(game_);
    session_ = std::make_unique<Session>(prompts_, SessionPlaces{program_, program_});
    session_->Startup(Session::Missing::RunSetup);
    prompts_.ClearHistory();
  }

  void WriteSample(int season, const std::string& name = "sample", int players = 1200) {
    samplegame::SampleGameOptions options;
    samplegame::ApplyPreset(options, samplegame::SizePreset::Small);
    options.players = players;
    options.gameFolder = game_.string();
    options.name = name;
    options.season = season;
    options.nationsFile = (program_ / "data" / "nations.csv").string();
    samplegame::GenerateSampleGame(options);
  }

  fs::path SavedGames() const { return SavedGamesFolder(game_); }
  fs::path Exports(const std::string& name = "sample") const {
    return ImportExportFolder(SavedGameFolder(game_, name));
  }
  LoadedGame& Game() { return session_->Game(); }
  const WindowState& Window() { return session_->Window(); }
  Database& Db() { return session_->Data(); }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
  fs::path game_ = folder_ / "game";
  ScriptedPrompts prompts_;
  std::unique_ptr<Session> session_;
};

using test::ReadRows;
using test::Rows;

std::string Bool(bool b) {
  return b ? "true" : "false";
}

void ExpectLeagues(Database& db, const test::ExpectedGame& expected) {
  const Rows rows = ReadRows(db, "sample_leagues.db");
  ASSERT_EQ(rows.size(), expected.leagues.size());
  for (const test::Record& r : expected.leagues) {
    const auto& row = rows.at(std::stoi(r.at(0)));
    EXPECT_EQ(row.at("league_name"), TruncateUtf8(r.at(1), 40));
    EXPECT_EQ(row.at("abbreviation"), TruncateUtf8(r.at(2), 10));
    EXPECT_EQ(row.at("nation_id"), std::to_string(std::stoi(r.at(3))));
    EXPECT_EQ(row.at("logo_file"), TruncateUtf8(r.at(7), 60));
    EXPECT_EQ(row.at("parent_league_id"), std::to_string(std::stoi(r.at(29))));
    EXPECT_EQ(row.at("league_level"), std::to_string(std::stoi(r.at(33))));
  }
}

void ExpectTeams(Database& db, const fs::path& program, const test::ExpectedGame& expected) {
  const Rows rows = ReadRows(db, "sample_teams.db");
  ASSERT_EQ(rows.size(), expected.teams.size());
  for (const test::Record& r : expected.teams) {
    const int id = std::stoi(r.at(0));
    const auto& row = rows.at(id);
    EXPECT_EQ(row.at("team_name"), TruncateUtf8(r.at(1), 25));
    EXPECT_EQ(row.at("nickname"), TruncateUtf8(r.at(3), 25));
    EXPECT_EQ(row.at("logo_file"), r.at(4));
    EXPECT_EQ(row.at("league_id"), r.at(8));
    EXPECT_EQ(row.at("level"), r.at(12));
    // Field 17 of 16 characters carries both colours; otherwise fields 17 and 18 as they are.
    const bool combined = r.at(17).size() >= 8;
    EXPECT_EQ(row.at("background_color_id"), combined ? r.at(17).substr(0, 7) : r.at(17));
    EXPECT_EQ(row.at("text_color_id"), combined ? r.at(17).substr(9) : r.at(18));
    // Portland, Montréal and the New York Knights have no custom uniform.
    if (id == 15 || id == 29 || id == 30) {
      EXPECT_EQ(row.at("custom_uniform_file"), "none") << id;
    } else {
      EXPECT_EQ(row.at("custom_uniform_file"),
                AutoRetrieveCustomUniform(program, r.at(1), r.at(3)));
      EXPECT_NE(row.at("custom_uniform_file"), "none") << id;
    }
  }
}

void ExpectCareer(Database& db, const std::string& table, const std::string& column,
                  const std::vector<test::CareerLine>& expected) {
  const Rows rows = ReadRows(db, table);
  ASSERT_EQ(rows.size(), expected.size()) << table;
  int lineId = 1;
  for (const test::CareerLine& l : expected) {
    const auto& row = rows.at(lineId);
    ASSERT_EQ(row.at("player_id"), std::to_string(l.player)) << table << " line " << lineId;
    ASSERT_EQ(row.at("year"), std::to_string(l.year)) << table << " line " << lineId;
    ASSERT_EQ(row.at("team_id"), std::to_string(l.team)) << table << " line " << lineId;
    ASSERT_EQ(row.at(column), std::to_string(l.count)) << table << " line " << lineId;
    ++lineId;
  }
}

// The facts of the export and the career figures, as every load writes them.
void ExpectFacts(const std::map<std::string, std::string>& row, const test::ExpectedPlayer& p) {
  EXPECT_EQ(row.at("first_name"), p.firstName);
  EXPECT_EQ(row.at("last_name"), p.lastName);
  EXPECT_EQ(row.at("nation_id"), std::to_string(p.nation));
  EXPECT_EQ(row.at("retired"), Bool(p.retired));
  EXPECT_EQ(row.at("team_id"), std::to_string(p.team));
  EXPECT_EQ(row.at("position"), std::to_string(p.position));
  EXPECT_EQ(row.at("hand"), std::to_string(p.hand));
  EXPECT_EQ(row.at("career_ab"), std::to_string(p.careerAb)) << p.idText;
  EXPECT_EQ(row.at("career_ip"), std::to_string(p.careerIp)) << p.idText;
  EXPECT_EQ(row.at("retired_as_team"), std::to_string(p.mainTeam)) << p.idText;
}

// What a player new to the table gets: the flags of a new player, a lock exactly when a photo of
// him lies in the picture folder, and a look that the shared tables allow.
class NewPlayerCheck {
 public:
  NewPlayerCheck(UniversalTables& shared, fs::path pictures) : pictures_(std::move(pictures)) {
    Table& n = shared.NationsTable;
    for (n.First(); !n.Eof(); n.Next()) {
      weights_[n.GetInt("nation_id")] = {n.GetInt("caucasian"), n.GetInt("asian"),
                                         n.GetInt("african"), n.GetInt("east_indian")};
    }
    faces_ = {shared.CaucasianFacesTable.RecordCount(), shared.AsianFacesTable.RecordCount(),
              shared.AfricanFacesTable.RecordCount(), shared.EastIndianFacesTable.RecordCount()};
    Table& h = shared.FacialHairTable;
    for (h.First(); !h.Eof(); h.Next()) {
      if (h.GetInt("frequency") > 0) styles_.insert(h.GetInt("facial_hair_id"));
    }
  }

  void Expect(const std::map<std::string, std::string>& row, const test::ExpectedPlayer& p) {
    EXPECT_EQ(row.at("update_required"), "true");
    for (const char* zero : {"background", "uniform_team_id", "hair_style", "accessory"}) {
      EXPECT_EQ(row.at(zero), "0") << zero;
    }
    const std::string byName = p.fullFirstName + "_" + p.fullLastName;
    const bool photo = fs::exists(pictures_ / (byName + ".jpg")) ||
                       fs::exists(pictures_ / (byName + ".png")) ||
                       fs::exists(pictures_ / ("Player_" + p.idText + ".jpg")) ||
                       fs::exists(pictures_ / ("Player_" + p.idText + ".png"));
    EXPECT_EQ(row.at("locked"), Bool(photo)) << p.idText;
    locked_ += photo ? 1 : 0;

    const int ethnicity = std::stoi(row.at("ethnicity"));
    ASSERT_GE(ethnicity, 1);
    ASSERT_LE(ethnicity, 4);
    const auto w = weights_.find(p.nation);
    if (w == weights_.end()) {
      EXPECT_EQ(ethnicity, 1);
    } else if (w->second[0] + w->second[1] + w->second[2] + w->second[3] > 0) {
      EXPECT_GT(w->second[ethnicity - 1], 0) << "nation " << p.nation;
    }
    const int face = std::stoi(row.at("face"));
    EXPECT_GE(face, 1);
    EXPECT_LE(face, faces_[ethnicity - 1] - 2);
    const int hair = std::stoi(row.at("hair_color"));
    EXPECT_TRUE(hair == 1 || (hair == 2 && ethnicity == 1)) << p.idText;
    const int style = std::stoi(row.at("facial_hair_style"));
    EXPECT_TRUE(style == 0 || styles_.count(style) == 1) << style;
    ++ethnicities_[ethnicity];
  }

  int Locked() const { return locked_; }
  const std::map<int, int>& Ethnicities() const { return ethnicities_; }

 private:
  fs::path pictures_;
  std::map<int, std::array<int, 4>> weights_;
  std::array<int, 4> faces_{};
  std::set<int> styles_;
  int locked_ = 0;
  std::map<int, int> ethnicities_;
};

const char* const kLookFields[] = {"ethnicity",  "face",      "hair_color", "facial_hair_style",
                                   "background", "accessory", "hair_style", "uniform_team_id"};

TEST_F(GameLoadTest, AFirstLoadAndALoadASeasonLaterLeaveWhatTheExportsPrescribe) {
  WriteSample(1);
  prompts_.AnswerFolder(SavedGames() / "sample.lg");
  LoadGame1Click(*session_);

  EXPECT_EQ(prompts_.History(),
            (std::vector<ScriptedPrompts::Shown>{
                {Kind::ChooseFolder, "Select the game folder.", SavedGames().string()},
                {Kind::Message, "Likentor", "sample.lg loaded successfully."}}));
  EXPECT_EQ(session_->LoadedGameName(), "sample");
  EXPECT_EQ(Window().caption, "Likentor: sample");
  EXPECT_EQ(Window().statusText, "sample.lg loaded.");
  EXPECT_EQ(Window().page, 0);
  EXPECT_TRUE(Game().LeaguesTable.IsOpen());
  EXPECT_TRUE(Game().TeamsTable.IsOpen());

  const test::ExpectedGame first = test::ExpectedFromExports(Exports());
  std::vector<TeamItem> items;
  for (const test::Record& t : first.teams)
    items.push_back({std::stoi(t.at(0)), t.at(1) + " " + t.at(3)});
  EXPECT_EQ(Window().teams, items);
  ExpectLeagues(Db(), first);
  ExpectTeams(Db(), program_, first);
  ExpectCareer(Db(), "sample_batting.db", "ab", first.batting);
  ExpectCareer(Db(), "sample_pitching.db", "ip", first.pitching);

  const fs::path pictures = PicturesFolder(SavedGameFolder(game_, "sample"));
  NewPlayerCheck firstCheck(session_->Universal(), pictures);
  Rows players = ReadRows(Db(), "sample_players.db");
  ASSERT_EQ(players.size(), first.players.size());
  for (const auto& [id, p] : first.players) {
    ExpectFacts(players.at(id), p);
    firstCheck.Expect(players.at(id), p);
  }
  EXPECT_GT(firstCheck.Locked(), 0);  // the sample has photos of some players
  EXPECT_GE(firstCheck.Ethnicities().size(), 3u);

  // Portraits were made for everyone, and some photos were locked or unlocked by hand.
  {
    Table t(Db(), "sample_players.db");
    TableTransaction transaction(Db(), "sample_players.db");
    for (t.First(); !t.Eof(); t.Next()) {
      t.Edit();
      t.SetBool(kUpdateRequiredField, false);
      if (t.GetInt(kPlayerIdField) % 5 == 0) t.SetBool(kLockedField, !t.GetBool(kLockedField));
      ASSERT_TRUE(t.Post());
    }
  }
  const Rows before = ReadRows(Db(), "sample_players.db");

  // A season later: players moved, retired, switched positions; new players came.
  WriteSample(2);
  prompts_.ClearHistory();
  LoadGame(*session_, "sample");
  EXPECT_EQ(prompts_.Texts(Kind::Message),
            std::vector<std::string>{"sample.lg loaded successfully."});

  const test::ExpectedGame second = test::ExpectedFromExports(Exports());
  ExpectLeagues(Db(), second);
  ExpectTeams(Db(), program_, second);
  ExpectCareer(Db(), "sample_batting.db", "ab", second.batting);
  ExpectCareer(Db(), "sample_pitching.db", "ip", second.pitching);

  NewPlayerCheck secondCheck(session_->Universal(), pictures);
  players = ReadRows(Db(), "sample_players.db");
  int moved = 0, toNoTeam = 0, retiredNow = 0, added = 0;
  for (const auto& [id, p] : second.players) {
    const auto& row = players.at(id);
    ExpectFacts(row, p);
    const auto known = first.players.find(id);
    if (known == first.players.end()) {
      secondCheck.Expect(row, p);
      ++added;
      continue;
    }
    const auto& old = before.at(id);
    for (const char* field : kLookFields) EXPECT_EQ(row.at(field), old.at(field)) << id << field;
    EXPECT_EQ(row.at("locked"), old.at("locked")) << id;
    const bool flagged = p.team != known->second.team && p.team != 0;
    EXPECT_EQ(row.at("update_required"), Bool(flagged)) << id;
    moved += flagged ? 1 : 0;
    toNoTeam += p.team != known->second.team && p.team == 0 ? 1 : 0;
    retiredNow += p.retired && !known->second.retired ? 1 : 0;
  }
  // Players the later export no longer lists would keep their rows; the sample keeps everyone.
  for (const auto& [id, row] : before) {
    if (second.players.count(id) == 0) {
      EXPECT_EQ(players.at(id), row);
    }
  }
  EXPECT_GT(moved, 0);
  EXPECT_GT(toNoTeam, 0);
  EXPECT_GT(retiredNow, 0);
  EXPECT_GT(added, 0);

  // One settings row for the game, however often it is loaded.
  const Rows games = ReadRows(Db(), "games.db");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games.begin()->second.at("universe_name"), "sample");
  EXPECT_EQ(session_->Log().ShowErrors(), std::vector<std::string>{"Errors Log"});
}

// The text with every line end (CR LF or LF) replaced by the one given for each line in turn.
std::string WithLineEnds(const std::string& text, const std::vector<std::string>& ends) {
  std::string out;
  std::size_t line = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n') {
      out += ends[line++ % ends.size()];
    } else {
      out += text[i];
    }
  }
  return out;
}

TEST_F(GameLoadTest, ExportsWithCrOrMixedLineEndsLoadAsWithCrLf) {
  WriteSample(1, "sample", 300);
  const test::ExpectedGame expected = test::ExpectedFromExports(Exports());
  // CR only in some exports, every kind of line end mixed in the others.
  for (const char* name : {"leagues.csv", "teams.csv", "players.csv"}) {
    test::WriteBytes(Exports() / name, WithLineEnds(test::ReadBytes(Exports() / name), {"\r"}));
  }
  for (const char* name :
       {"players_career_batting_stats.csv", "players_career_pitching_stats.csv"}) {
    test::WriteBytes(Exports() / name,
                     WithLineEnds(test::ReadBytes(Exports() / name), {"\r", "\n", "\r\n"}));
  }
  LoadGame(*session_, "sample");
  ExpectLeagues(Db(), expected);
  ExpectTeams(Db(), program_, expected);
  ExpectCareer(Db(), "sample_batting.db", "ab", expected.batting);
  ExpectCareer(Db(), "sample_pitching.db", "ip", expected.pitching);
  const Rows players = ReadRows(Db(), "sample_players.db");
  ASSERT_EQ(players.size(), expected.players.size());
  for (const auto& [id, player] : expected.players) {
    EXPECT_EQ(players.at(id).at("last_name"), player.lastName) << id;
  }
  EXPECT_EQ(session_->Log().ShowErrors(), std::vector<std::string>{"Errors Log"});
}

TEST_F(GameLoadTest, ClosingReturnsToIdleAndASecondGameReplacesTheFirst) {
  CloseGame1Click(*session_);  // nothing loaded: stays idle
  EXPECT_EQ(Window().caption, "Likentor");
  EXPECT_EQ(Window().statusText, "No game loaded.");
  EXPECT_EQ(Window().page, 0);

  WriteSample(1, "first", 120);
  WriteSample(1, "second", 120);
  LoadGame(*session_, "first");
  const std::size_t teams = Window().teams.size();
  ASSERT_GT(teams, 0u);
  session_->ShowPage(4);  // the user went to another page
  prompts_.AnswerFolder(SavedGames() / "second.lg");
  LoadGame1Click(*session_);
  EXPECT_EQ(session_->LoadedGameName(), "second");
  EXPECT_EQ(Window().caption, "Likentor: second");
  EXPECT_EQ(Window().page, 0);
  EXPECT_EQ(Window().teams.size(), teams);  // the box holds one game's teams only
  EXPECT_EQ(Game().TeamsTable.TableName(), "second_teams.db");

  Game().PlayersQuery.Add("SELECT *");
  Game().PlayersQuery.Add("FROM \"second_players.db\"");
  Game().PlayersQuery.Open(Db());
  CloseGame1Click(*session_);
  EXPECT_EQ(session_->LoadedGameName(), "");
  EXPECT_EQ(Window().caption, "Likentor");
  EXPECT_EQ(Window().statusText, "No game loaded.");
  EXPECT_TRUE(Window().teams.empty());
  EXPECT_FALSE(Game().LeaguesTable.IsOpen());
  EXPECT_FALSE(Game().TeamsTable.IsOpen());
  EXPECT_FALSE(Game().PlayersQuery.IsOpen());
  // The tables stay on disk for the next load.
  EXPECT_TRUE(Db().TableExists("second_players.db"));
  EXPECT_TRUE(Db().TableExists("first_players.db"));

  LoadGame(*session_, "first");
  session_->Shutdown();  // closing the program closes the game
  EXPECT_EQ(session_->LoadedGameName(), "");
  EXPECT_FALSE(Game().TeamsTable.IsOpen());
}

TEST_F(GameLoadTest, ACancelledOrRefusedChooserKeepsTheLoadedGameAndItsUnsavedSettings) {
  WriteSample(1, "sample", 120);
  LoadGame(*session_, "sample");
  const std::vector<TeamItem> teams = Window().teams;
  ASSERT_FALSE(teams.empty());
  session_->ShowPage(4);
  // The user changed a setting on the dashboard and has not saved it yet.
  EditSettings(*session_, {{"use_logos", false}});
  prompts_.ClearHistory();
  const auto expectGameKept = [&](const std::string& after) {
    SCOPED_TRACE(after);
    EXPECT_EQ(session_->LoadedGameName(), "sample");
    EXPECT_EQ(Window().caption, "Likentor: sample");
    EXPECT_EQ(Window().statusText, "sample.lg loaded.");
    EXPECT_EQ(Window().teams, teams);
    EXPECT_EQ(Window().page, 4);
    EXPECT_TRUE(Game().LeaguesTable.IsOpen());
    EXPECT_TRUE(Game().TeamsTable.IsOpen());
    EXPECT_EQ(Game().TeamsTable.TableName(), "sample_teams.db");
    EXPECT_TRUE(session_->Universal().GamesTable.InEdit());
    EXPECT_EQ(session_->Universal().GamesTable.GetText("universe_name"), "sample");
    EXPECT_EQ(session_->Universal().GamesTable.GetText("use_logos"), "false");
    EXPECT_TRUE(GameLoadedGuard(*session_));
  };

  // Cancelling the chooser ends the command with nothing changed.
  LoadGame1Click(*session_);
  expectGameKept("a cancelled chooser");
  EXPECT_TRUE(prompts_.Texts(Kind::Message).empty());
  // The setting was never stored: only the pending edit holds it.
  EXPECT_EQ(ReadRows(Db(), "games.db").begin()->second.at("use_logos"), "true");

  fs::create_directories(SavedGames() / "season2006");
  fs::create_directories(SavedGames() / "sample.lg" / "inner.lg");
  fs::create_directories(folder_ / "elsewhere.lg");
  const std::pair<fs::path, std::string> refused[] = {
      {SavedGames() / "season2006",
       "The folder " + (SavedGames() / "season2006").string() +
           " is not a saved game: the name of a saved game's folder ends in \".lg\"."},
      {SavedGames(), "The folder " + SavedGames().string() +
                         " is not a saved game: a saved game "
                         "is a folder in " +
                         SavedGames().string() + "."},
      {SavedGames() / "sample.lg" / "inner.lg",
       "The folder " + (SavedGames() / "sample.lg" / "inner.lg").string() +
           " is not a saved game: a saved game is a folder in " + SavedGames().string() + "."},
      {folder_ / "elsewhere.lg", "The folder " + (folder_ / "elsewhere.lg").string() +
                                     " is not a saved game: a saved game is a folder in " +
                                     SavedGames().string() + "."},
  };
  for (const auto& [chosen, message] : refused) {
    prompts_.AnswerFolder(chosen);
    try {
      LoadGame1Click(*session_);
      ADD_FAILURE() << chosen << " was loaded";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), message);
    }
    expectGameKept(chosen.string());
  }
  EXPECT_TRUE(prompts_.Texts(Kind::Message).empty());
  EXPECT_FALSE(Db().TableExists("season2_leagues.db"));
  EXPECT_FALSE(Db().TableExists("_leagues.db"));

  // A chosen path with a trailing separator or a "." names the same saved game.
  prompts_.AnswerFolder(fs::path(SavedGames() / "sample.lg" / "."));
  LoadGame1Click(*session_);
  EXPECT_EQ(session_->LoadedGameName(), "sample");

  EXPECT_THROW(LoadGame(*session_, "nosuch"), Error);
  EXPECT_EQ(session_->LoadedGameName(), "");
  EXPECT_FALSE(Db().TableExists("nosuch_leagues.db"));

  // A name that leads out of the saved-games folder, to a saved game that is there, says so.
  const std::pair<std::string, std::string> outside[] = {
      {"../../../elsewhere", (folder_ / "elsewhere.lg").string()},
      {(folder_ / "elsewhere").string(), (folder_ / "elsewhere.lg").string()},
  };
  for (const auto& [name, folder] : outside) {
    try {
      LoadGame(*session_, name);
      ADD_FAILURE() << name << " was loaded";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), "There is no saved game named \"" + name + "\": " + folder +
                              " is outside the saved-games folder " + SavedGames().string() +
                              "; a saved game is a folder in it.");
    }
    EXPECT_EQ(session_->LoadedGameName(), "");
  }
  try {
    LoadGame(*session_, "sample.lg/inner");
    ADD_FAILURE() << "sample.lg/inner was loaded";
  } catch (const Error& e) {
    EXPECT_EQ(e.what(),
              "There is no saved game named \"sample.lg/inner\": a saved game is a "
              "folder directly in the saved-games folder " +
                  SavedGames().string() + ", and its name holds no \"/\".");
  }
}

// What a load that failed or was stopped leaves: no game loaded, every command refused, the bar
// hidden and no cancel request left for the next load.
void ExpectNoGameLoaded(Session& session, ScriptedPrompts& prompts) {
  EXPECT_EQ(session.LoadedGameName(), "");
  EXPECT_EQ(session.Window().caption, "Likentor");
  EXPECT_EQ(session.Window().statusText, "No game loaded.");
  EXPECT_TRUE(session.Window().teams.empty());
  EXPECT_FALSE(session.Game().LeaguesTable.IsOpen());
  EXPECT_FALSE(session.Game().TeamsTable.IsOpen());
  EXPECT_FALSE(session.Game().PlayersQuery.IsOpen());
  EXPECT_FALSE(session.Progress().Visible());
  EXPECT_FALSE(session.Progress().CancelRequested());
  prompts.ClearHistory();
  EXPECT_FALSE(GameLoadedGuard(session));
  EXPECT_EQ(prompts.Texts(Kind::Message), std::vector<std::string>{"Load a game first!"});
}

// The line of the export with the given first field, with field `index` replaced by `value`.
void SpoilField(const fs::path& file, const std::string& id, std::size_t index,
                const std::string& value) {
  const std::string text = test::ReadBytes(file);
  const std::size_t start = text.find("\n" + id + ";");
  ASSERT_NE(start, std::string::npos) << id;
  std::size_t field = start + 1;
  for (std::size_t i = 0; i < index; ++i) field = text.find(';', field) + 1;
  const std::size_t fieldEnd = text.find_first_of(";\r\n", field);
  test::WriteBytes(file, text.substr(0, field) + value + text.substr(fieldEnd));
}

TEST_F(GameLoadTest, AFailedLoadLeavesNoGameLoadedAndTheTableItWasImportingAsItWas) {
  WriteSample(1, "sample", 300);
  LoadGame(*session_, "sample");
  const Rows players = ReadRows(Db(), "sample_players.db");

  // A season later, with a damaged line half way through the players export.
  WriteSample(2, "sample", 300);
  const test::ExpectedGame second = test::ExpectedFromExports(Exports());
  const std::vector<test::Record> lines = test::ReadExportRecords(Exports() / "players.csv");
  const std::string damaged = lines.at(150).at(0);
  SpoilField(Exports() / "players.csv", damaged, 58, "x");
  prompts_.ClearHistory();
  try {
    LoadGame(*session_, "sample");
    FAIL() << "the damaged players.csv was loaded";
  } catch (const LoadStoppedError&) {
    FAIL() << "a failure is no stop";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "players.csv line " + std::to_string(152) + ": field 58 is not a whole number ('x')");
  }
  EXPECT_TRUE(prompts_.History().empty());
  ExpectNoGameLoaded(*session_, prompts_);
  // The players table is as the first load left it; the tables before it are whole and new.
  EXPECT_EQ(ReadRows(Db(), "sample_players.db"), players);
  ExpectTeams(Db(), program_, second);
  ExpectCareer(Db(), "sample_batting.db", "ab", second.batting);
  ExpectCareer(Db(), "sample_pitching.db", "ip", second.pitching);

  // The first load of a game that fails in the teams step: its leagues are whole, and the teams
  // table it made is gone again, so the game still counts as never loaded.
  WriteSample(1, "other", 120);
  {
    std::ofstream teams(Exports("other") / "teams.csv", std::ios::binary | std::ios::app);
    teams << "99;Bad;BAD;Team;bad.png;0;0;0;one;0;0;0;1\r\n";
  }
  const std::size_t teamLines = test::ReadExportRecords(Exports("other") / "teams.csv").size() + 1;
  prompts_.AnswerFolder(SavedGames() / "other.lg");
  try {
    LoadGame1Click(*session_);
    FAIL() << "the bad league id was accepted";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "teams.csv line " + std::to_string(teamLines) +
                                         ": field 8 is not a whole number ('one')");
  }
  ExpectNoGameLoaded(*session_, prompts_);
  EXPECT_EQ(ReadRows(Db(), "other_leagues.db").size(),
            test::ExpectedFromExports(Exports("other")).leagues.size());
  EXPECT_FALSE(Db().TableExists("other_teams.db"));
  EXPECT_FALSE(Db().TableExists("other_batting.db"));
  EXPECT_FALSE(Db().TableExists("other_players.db"));
  EXPECT_THROW(OpenLoadedGame(*session_, "other"), Error);
}

TEST_F(GameLoadTest, ALoadReportsItsProgressAndACancelStopsItWithTheTableBeingImportedAsItWas) {
  std::vector<ProgressReport> reports;
  bool cancelAt50 = false;
  session_->Progress().SetListener([&](const ProgressReport& report) {
    reports.push_back(report);
    if (cancelAt50 && report.position >= 50) session_->Progress().RequestCancel();
  });
  const auto expectRising = [&](int highest) {
    ASSERT_GE(reports.size(), 4u);
    EXPECT_EQ(reports.front().status, "Loading sample.lg...");
    EXPECT_TRUE(reports.front().visible);
    for (std::size_t i = 0; i + 1 < reports.size(); ++i) {
      EXPECT_TRUE(reports[i].visible) << i;
      EXPECT_EQ(reports[i].status, "Loading sample.lg...") << i;
      if (i > 0) {
        EXPECT_GT(reports[i].position, reports[i - 1].position) << i;
      }
    }
    EXPECT_GE(reports[reports.size() - 2].position, highest);
    // The bar is hidden at the end.
    EXPECT_FALSE(reports.back().visible);
    EXPECT_EQ(reports.back().position, 0);
  };

  WriteSample(1, "sample", 800);
  LoadGame(*session_, "sample");
  expectRising(100);
  EXPECT_EQ(reports.back().status, "sample.lg loaded.");
  const Rows players = ReadRows(Db(), "sample_players.db");

  // A season later, stopped half way through the players.
  WriteSample(2, "sample", 800);
  const test::ExpectedGame second = test::ExpectedFromExports(Exports());
  reports.clear();
  cancelAt50 = true;
  try {
    LoadGame(*session_, "sample");
    FAIL() << "the load was not stopped";
  } catch (const LoadStoppedError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Loading sample.lg was stopped: no game is loaded. The tables it finished importing "
              "(sample_leagues.db, sample_teams.db, sample_batting.db, sample_pitching.db) hold "
              "the new rows; the others are as they were before the load.");
  }
  expectRising(50);
  EXPECT_LT(reports[reports.size() - 2].position, 100);
  EXPECT_EQ(reports.back().status, "No game loaded.");
  ExpectNoGameLoaded(*session_, prompts_);
  EXPECT_EQ(ReadRows(Db(), "sample_players.db"), players);
  ExpectTeams(Db(), program_, second);
  ExpectCareer(Db(), "sample_batting.db", "ab", second.batting);
  ExpectCareer(Db(), "sample_pitching.db", "ip", second.pitching);

  // A cancel asked before a load starts stops it before any table changes.
  cancelAt50 = false;
  session_->Progress().RequestCancel();
  EXPECT_THROW(
      {
        try {
          LoadGame(*session_, "sample");
        } catch (const LoadStoppedError& e) {
          EXPECT_STREQ(
              e.what(),
              "Loading sample.lg was stopped: no game is loaded and no table was changed.");
          throw;
        }
      },
      LoadStoppedError);
  ExpectNoGameLoaded(*session_, prompts_);
  EXPECT_EQ(ReadRows(Db(), "sample_players.db"), players);

  // The next load goes through.
  LoadGame(*session_, "sample");
  EXPECT_EQ(session_->LoadedGameName(), "sample");
  EXPECT_NE(ReadRows(Db(), "sample_players.db"), players);
  session_->Progress().SetListener(nullptr);
}

}  // namespace
}  // namespace likentor
