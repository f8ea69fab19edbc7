// The start-up sequence over the shared tables: the setup builds them, later starts open them, and
// a deleted nations table is built again before the tables are opened.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/setup.h"
#include "app/universal_tables.h"
#include "shell/scripted_prompts.h"
#include "support/program_folder.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    ::setenv("HOME", (folder_ / "home").c_str(), 1);
    test::InstallDataFiles(program_);
  }

  // A session started in the program folder, as the program runs installed.
  void SetUpOnce() {
    ScriptedPrompts prompts;
    prompts.AnswerFolder(program_);
    prompts.AnswerFolder(folder_ / "game");
    Session session(prompts, {program_, program_});
    session.Startup(Session::Missing::RunSetup);
    session.Shutdown();
  }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
};

int LinesOf(const fs::path& file) {
  int lines = 0;
  std::string text = test::ReadBytes(file);
  for (char c : text) lines += c == '\n';
  return lines;
}

TEST_F(StartupTest, SetupBuildsEveryTableAndLaterStartsOpenThem) {
  SetUpOnce();
  ScriptedPrompts prompts;
  Session session(prompts, {program_, program_});
  session.Startup(Session::Missing::Fail);
  EXPECT_TRUE(prompts.History().empty());  // a later start asks nothing
  UniversalTables& t = session.Universal();
  EXPECT_EQ(t.GamesTable.RecordCount(), 0);
  EXPECT_EQ(t.NationsTable.RecordCount(), 220);
  EXPECT_EQ(t.FacialHairTable.RecordCount(),
            LinesOf(fs::path(LIKENTOR_SOURCE_DIR) / "data" / "facialhair.csv"));
  EXPECT_EQ(t.AfricanFacesTable.RecordCount(), 1692);
  EXPECT_EQ(t.AsianFacesTable.RecordCount(), 1539);
  EXPECT_EQ(t.CaucasianFacesTable.RecordCount(), 1746);
  EXPECT_EQ(t.EastIndianFacesTable.RecordCount(), 1179);
  EXPECT_EQ(t.AccessoriesTable.RecordCount(), 4);
  t.FacialHairTable.First();
  EXPECT_EQ(t.FacialHairTable.GetText("location"), "none");
  EXPECT_EQ(session.ErrorsBox(), std::vector<std::string>{"Errors Log"});

  session.Shutdown();
  EXPECT_FALSE(t.GamesTable.IsOpen());
  EXPECT_FALSE(t.AccessoriesTable.IsOpen());
}

TEST_F(StartupTest, ADeletedNationsTableIsBuiltAgainBeforeTheTablesOpen) {
  SetUpOnce();
  {
    // An edited weight survives a start while the table is there...
    ScriptedPrompts prompts;
    Session session(prompts, {program_, program_});
    session.Startup(Session::Missing::Fail);
    Table& nations = session.Universal().NationsTable;
    ASSERT_TRUE(nations.Locate("nation_id", 1));
    nations.Edit();
    nations.SetInt("caucasian", 12345);
    ASSERT_TRUE(nations.Post());
    session.Shutdown();
  }
  {
    ScriptedPrompts prompts;
    Session session(prompts, {program_, program_});
    session.Startup(Session::Missing::Fail);
    ASSERT_TRUE(session.Universal().NationsTable.Locate("nation_id", 1));
    EXPECT_EQ(session.Universal().NationsTable.GetInt("caucasian"), 12345);
    session.Shutdown();
  }
  // ...and deleting the file brings the shipped weights back at the next start.
  fs::remove(program_ / "data" / "nations.db");
  ScriptedPrompts prompts;
  Session session(prompts, {program_, program_});
  session.Startup(Session::Missing::Fail);
  Table& nations = session.Universal().NationsTable;
  EXPECT_EQ(nations.RecordCount(), 220);
  ASSERT_TRUE(nations.Locate("nation_id", 1));
  EXPECT_NE(nations.GetInt("caucasian"), 12345);
  session.Shutdown();
}

TEST_F(StartupTest, AGameNationListThatGivesNoNationIsAnErrorAndTheShippedListIsUsed) {
  const fs::path game = folder_ / "game";
  const fs::path list = game / "data" / "database" / "nations.txt";
  struct Case {
    std::string name;
    std::function<void()> make;  // puts the game's nation list in place
    std::string why;             // the reason the message gives
  };
  const std::vector<Case> cases = {
      {"empty", [&] { test::WriteBytes(list, ""); }, list.string() + " lists none"},
      {"heading only",
       [&] { test::WriteBytes(list, "ID,Name,Short,Abbr,Something,Region\r\n\r\n"); },
       list.string() + " lists none"},
      {"folder", [&] { fs::create_directories(list); },
       "Cannot read file " + list.string() + ": it is a folder, not a file"},
      {"bad first nation",
       [&] { test::WriteBytes(list, "ID,Name,Short,Abbr,Something,Region\r\nX,Bad,B,B,x,1\r\n"); },
       "nations.txt line 2: field 0 is not a whole number ('X')"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    fs::remove_all(game);
    cases[i].make();
    const fs::path program = folder_ / ("program" + std::to_string(i));
    test::InstallDataFiles(program);
    ScriptedPrompts prompts;
    prompts.AnswerFolder(program);
    prompts.AnswerFolder(game);
    Session session(prompts, {program, program});
    session.Startup(Session::Missing::RunSetup);

    const std::string message = "The game's nation list gives no nation (" + cases[i].why +
                                "): the nations table was built from " +
                                (program / "data" / "nations.csv").string() + " instead.";
    EXPECT_EQ(prompts.Texts(ScriptedPrompts::Kind::Error), std::vector<std::string>{message});
    // The shipped list's nations with their weights, not an empty table.
    Table& nations = session.Universal().NationsTable;
    EXPECT_EQ(nations.RecordCount(), 220);
    EXPECT_TRUE(nations.Locate("nation_id", 1));
    const std::vector<std::string> logged = session.ErrorsBox();
    EXPECT_NE(std::find(logged.begin(), logged.end(), message), logged.end());
    session.Shutdown();
  }
}

TEST_F(StartupTest, AMissingSharedTableStopsTheStartWithAClearMessage) {
  SetUpOnce();
  fs::remove(program_ / "data" / "accessories.db");
  ScriptedPrompts prompts;
  Session session(prompts, {program_, program_});
  try {
    session.Startup(Session::Missing::Fail);
    FAIL() << "accessories.db is missing";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("accessories.db is missing"), std::string::npos);
  }
}

using Kind = ScriptedPrompts::Kind;
using Shown = ScriptedPrompts::Shown;

fs::path DefaultGame(const fs::path& home) {
  return home / ".wine" / "drive_c" / "Program Files" / "Pellworth" / "Vask Baseball 2006";
}

std::string Question(const fs::path& game) {
  return "The folder " + game.string() +
         " has no data/saved_games, so Likentor would find no saved game in it. Choose the game's "
         "folder again? Cancel keeps this folder all the same; File > Change Folders changes it "
         "later.";
}

// The setup's choosers open at what their Cancel gives, and a game folder without saved games is
// kept only once the user was told and kept it all the same.
TEST_F(StartupTest, SetupChoosersStartAtTheirDefaultsAndAGameFolderWithoutSavedGamesIsQuestioned) {
  const fs::path home = folder_ / "home";
  const fs::path installed = folder_ / "installed";
  const fs::path userData = folder_ / "user-data";
  const fs::path noGames = folder_ / "not-a-game";
  const fs::path game = folder_ / "game";
  fs::create_directories(noGames);
  fs::create_directories(game / "data" / "saved_games");
  test::InstallDataFiles(installed);
  const std::string programPrompt =
      "First, please select the folder where Likentor keeps its data.  Clicking cancel will use "
      "the default folder.";
  const std::string gamePrompt =
      "Next, select the game's folder (the one that holds data/saved_games).  Clicking cancel "
      "will use the default folder.";
  const std::string againPrompt =
      "Please select the game's folder (the one that holds data/saved_games).  Clicking cancel "
      "will keep the current folder.";

  struct Case {
    std::string name;
    std::vector<fs::path> folders;  // the choosers' answers, an empty path for Cancel
    std::vector<bool> confirms;
    fs::path userDataFolder;
    std::vector<Shown> asked;  // after the first-run message
    fs::path program;
    fs::path game;
  };
  const std::vector<Case> cases = {
      {"both cancelled: the defaults, and the missing game folder is said",
       {},
       {},
       {},
       {{Kind::ChooseFolder, programPrompt, installed.string()},
        {Kind::ChooseFolder, gamePrompt, DefaultGame(home).string()},
        {Kind::Confirm, "Confirm", Question(DefaultGame(home))}},
       installed,
       DefaultGame(home)},
      {"an install's program chooser opens at the user's data folder",
       {{}, game},
       {},
       userData,
       {{Kind::ChooseFolder, programPrompt, userData.string()},
        {Kind::ChooseFolder, gamePrompt, DefaultGame(home).string()}},
       userData,
       game},
      {"refused, then chosen again",
       {{}, noGames, game},
       {true},
       {},
       {{Kind::ChooseFolder, programPrompt, installed.string()},
        {Kind::ChooseFolder, gamePrompt, DefaultGame(home).string()},
        {Kind::Confirm, "Confirm", Question(noGames)},
        {Kind::ChooseFolder, againPrompt, noGames.string()}},
       installed,
       game},
      {"the default refused, then a wrong folder, then the right one",
       {{}, {}, noGames, game},
       {true, true},
       {},
       {{Kind::ChooseFolder, programPrompt, installed.string()},
        {Kind::ChooseFolder, gamePrompt, DefaultGame(home).string()},
        {Kind::Confirm, "Confirm", Question(DefaultGame(home))},
        {Kind::ChooseFolder, againPrompt, DefaultGame(home).string()},
        {Kind::Confirm, "Confirm", Question(noGames)},
        {Kind::ChooseFolder, againPrompt, noGames.string()}},
       installed,
       game},
      {"refused, and the chooser shown again cancelled: kept",
       {{}, noGames, {}},
       {true},
       {},
       {{Kind::ChooseFolder, programPrompt, installed.string()},
        {Kind::ChooseFolder, gamePrompt, DefaultGame(home).string()},
        {Kind::Confirm, "Confirm", Question(noGames)},
        {Kind::ChooseFolder, againPrompt, noGames.string()}},
       installed,
       noGames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(installed / "data");
    fs::remove_all(userData);
    test::InstallDataFiles(installed);
    ScriptedPrompts prompts;
    for (const fs::path& answer : c.folders) prompts.AnswerFolder(answer);
    for (bool ok : c.confirms) prompts.AnswerConfirm(ok);
    SessionPlaces places{installed, installed};
    places.userDataFolder = c.userDataFolder;
    Session session(prompts, places);
    RunSetup(session);

    std::vector<Shown> asked = prompts.History();
    ASSERT_FALSE(asked.empty());
    asked.erase(asked.begin());  // the first-run message
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(session.ProgramFolder(), c.program);
    EXPECT_EQ(session.GameFolder(), c.game);
    EXPECT_EQ(test::ReadBytes(c.program / "configuration.ini"),
              "7\r\n" + c.program.string() + "\r\n" + c.game.string() + "\r\n");
    session.Shutdown();
  }
}

// File > Change Folders: the choosers open at the folders in use, Cancel keeps them, the game
// folder is checked as at setup, and the configuration the next start reads gets the new folders
// while the shared tables and their settings stay.
TEST_F(StartupTest, ChangeFoldersStoresTheChosenFoldersAndKeepsTheSharedTables) {
  const fs::path game = folder_ / "game";
  const fs::path game2 = folder_ / "game2";
  const fs::path noGames = folder_ / "not-a-game";
  fs::create_directories(game / "data" / "saved_games");
  fs::create_directories(game2 / "data" / "saved_games");
  fs::create_directories(noGames);
  SetUpOnce();
  const std::string programPrompt =
      "Please select the folder where Likentor keeps its data.  Clicking cancel will keep the "
      "current folder.";
  const std::string gamePrompt =
      "Please select the game's folder (the one that holds data/saved_games).  Clicking cancel "
      "will keep the current folder.";
  const auto configuration = [](const fs::path& program, const fs::path& gameFolder) {
    return "7\r\n" + program.string() + "\r\n" + gameFolder.string() + "\r\n";
  };

  ScriptedPrompts prompts;
  Session session(prompts, {program_, program_});
  session.Startup(Session::Missing::Fail);
  // A setting of the shared tables that must survive every change.
  Table& nations = session.Universal().NationsTable;
  ASSERT_TRUE(nations.Locate("nation_id", 1));
  nations.Edit();
  nations.SetInt("caucasian", 4321);
  ASSERT_TRUE(nations.Post());

  // Both cancelled: nothing changes and nothing is said.
  ChangeFolders1Click(session);
  EXPECT_EQ(prompts.History(),
            (std::vector<Shown>{{Kind::ChooseFolder, programPrompt, program_.string()},
                                {Kind::ChooseFolder, gamePrompt, game.string()}}));
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini"), configuration(program_, game));

  // Another game folder; a loaded game is closed.
  prompts.ClearHistory();
  session.SetLoadedGameName("sample");
  prompts.AnswerFolder({});
  prompts.AnswerFolder(game2);
  ChangeFolders1Click(session);
  EXPECT_TRUE(session.LoadedGameName().empty());
  EXPECT_EQ(session.Window().caption, "Likentor");
  EXPECT_EQ(session.GameFolder(), game2);
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini"), configuration(program_, game2));
  EXPECT_EQ(prompts.Texts(Kind::Message),
            std::vector<std::string>{"Likentor now keeps its data in " + program_.string() +
                                     " and finds the game in " + game2.string() + "."});

  // A game folder without saved games is questioned; Cancel keeps it all the same.
  prompts.ClearHistory();
  prompts.AnswerFolder({});
  prompts.AnswerFolder(noGames);
  prompts.AnswerConfirm(false);
  ChangeFolders1Click(session);
  EXPECT_EQ(prompts.Texts(Kind::Confirm), std::vector<std::string>{Question(noGames)});
  EXPECT_EQ(session.GameFolder(), noGames);
  // Opened at that folder again, the chooser's Cancel keeps it after OK to choose again.
  prompts.ClearHistory();
  prompts.AnswerFolder({});
  prompts.AnswerFolder({});
  prompts.AnswerConfirm(true);
  prompts.AnswerFolder(game);
  ChangeFolders1Click(session);
  EXPECT_EQ(prompts.History()[1], (Shown{Kind::ChooseFolder, gamePrompt, noGames.string()}));
  EXPECT_EQ(prompts.History()[3], (Shown{Kind::ChooseFolder, gamePrompt, noGames.string()}));
  EXPECT_EQ(session.GameFolder(), game);

  // A program folder that cannot hold the data: refused, and the session stays where it was.
  const fs::path blocked = folder_ / "blocked";
  test::WriteBytes(blocked / "data", "a file where the data folder should be");
  prompts.ClearHistory();
  prompts.AnswerFolder(blocked);
  prompts.AnswerFolder({});
  EXPECT_THROW(ChangeFolders1Click(session), Error);
  EXPECT_EQ(session.ProgramFolder(), program_);
  EXPECT_TRUE(session.Universal().GamesTable.IsOpen());
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini"), configuration(program_, game));

  // A new program folder gets the tables in use, with their settings, and the configuration that
  // the next start reads names it.
  const fs::path moved = folder_ / "moved";
  prompts.ClearHistory();
  prompts.AnswerFolder(moved);
  prompts.AnswerFolder({});
  ChangeFolders1Click(session);
  EXPECT_EQ(session.ProgramFolder(), moved);
  EXPECT_EQ(session.Data().Folder(), moved / "data");
  EXPECT_TRUE(session.Universal().NationsTable.IsOpen());
  EXPECT_EQ(test::ReadBytes(moved / "configuration.ini"), configuration(moved, game));
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini"), configuration(moved, game));
  // The moved session holds the new folder's lock, not the old one's: another session of the
  // previous folder may write there.
  EXPECT_TRUE(fs::exists(moved / "data" / "likentor.lock"));
  EXPECT_EQ(test::ReadBytes(moved / "errors.txt"), test::ReadBytes(program_ / "errors.txt"));
  session.Shutdown();

  ScriptedPrompts later;
  Session next(later, {program_, program_});
  next.Startup(Session::Missing::Fail);
  EXPECT_EQ(next.ProgramFolder(), moved);
  EXPECT_EQ(next.GameFolder(), game);
  ASSERT_TRUE(next.Universal().NationsTable.Locate("nation_id", 1));
  EXPECT_EQ(next.Universal().NationsTable.GetInt("caucasian"), 4321);
  next.Shutdown();
}

}  // namespace
}  // namespace likentor
