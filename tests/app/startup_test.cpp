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

}  // namespace
}  // namespace likentor
