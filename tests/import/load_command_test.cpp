// likentor load NAME, run in-process on a program set up in a temporary folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "app/session.h"
#include "cli/command.h"
#include "database/table_store.h"
#include "samplegame/sample_game.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/program_folder.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

class LoadCommandTest : public ::testing::Test {
 protected:
  LoadCommandTest() {
    ::setenv("HOME", (folder_ / "home").c_str(), 1);
    test::InstallDataFiles(program_);
    ScriptedPrompts prompts;
    prompts.AnswerFolder(program_);
    prompts.AnswerFolder(game_);
    Session session(prompts, {program_, program_});
    session.Startup(Session::Missing::RunSetup);
    session.Shutdown();

    samplegame::SampleGameOptions options;
    options.players = 150;
    options.gameFolder = game_.string();
    options.name = "sample";
    options.nationsFile = (program_ / "data" / "nations.csv").string();
    samplegame::GenerateSampleGame(options);
  }

  int Run(std::initializer_list<std::string> arguments) {
    std::vector<std::string> args = {"likentor", "-C", program_.string()};
    args.insert(args.end(), arguments);
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    out_.str("");
    err_.str("");
    return RunCommandLine(static_cast<int>(argv.size()), argv.data(), out_, err_, program_);
  }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
  fs::path game_ = folder_ / "game";
  std::ostringstream out_, err_;
};

TEST_F(LoadCommandTest, LoadsTheSavedGameAndPrintsTheFinalMessage) {
  EXPECT_EQ(Run({"load", "sample"}), 0);
  EXPECT_EQ(out_.str(), "sample.lg loaded successfully.\n");
  EXPECT_EQ(err_.str(), "");
  EXPECT_TRUE(fs::exists(program_ / "data" / "sample_players.db"));

  EXPECT_EQ(Run({"load", "sample"}), 0);  // a re-load merges into the tables
  EXPECT_EQ(out_.str(), "sample.lg loaded successfully.\n");
}

TEST_F(LoadCommandTest, AFailedLoadExitsWithItsMessage) {
  EXPECT_EQ(Run({"load", "nosuch"}), 1);
  EXPECT_EQ(err_.str(), "There is no saved game named \"nosuch\": " +
                            (SavedGamesFolder(game_) / "nosuch.lg").string() +
                            " is not a folder.\n");
  EXPECT_EQ(out_.str(), "");

  const fs::path players = ImportExportFolder(SavedGameFolder(game_, "sample")) / "players.csv";
  fs::remove(players);
  EXPECT_EQ(Run({"load", "sample"}), 1);
  EXPECT_EQ(err_.str(), "Cannot open file " + players.string() + "\n");
  EXPECT_EQ(out_.str(), "");

  EXPECT_EQ(Run({"load"}), 2);  // NAME is required
}

TEST_F(LoadCommandTest, AnExportThatCannotBeReadStopsTheLoadWithItsNameAndKeepsTheTables) {
  ASSERT_EQ(Run({"load", "sample"}), 0);
  Database db(program_ / "data");
  const test::Rows careerRows = test::ReadRows(db, "sample_batting.db");
  ASSERT_FALSE(careerRows.empty());
  db.ReleaseAll();
  // A folder in place of an export is not an empty export.
  const fs::path batting =
      ImportExportFolder(SavedGameFolder(game_, "sample")) / "players_career_batting_stats.csv";
  fs::remove(batting);
  fs::create_directory(batting);
  EXPECT_EQ(Run({"load", "sample"}), 1);
  EXPECT_EQ(err_.str(), "Cannot read file " + batting.string() + ": it is a folder, not a file.\n");
  EXPECT_EQ(out_.str(), "");

  // Nor is a link to a device that never ends.
  fs::remove(batting);
  fs::create_symlink("/dev/zero", batting);
  EXPECT_EQ(Run({"load", "sample"}), 1);
  EXPECT_EQ(err_.str(), "Cannot read file " + batting.string() + ": it is not a regular file.\n");
  EXPECT_EQ(out_.str(), "");
  // The career table is the one the last complete load made.
  EXPECT_EQ(test::ReadRows(db, "sample_batting.db"), careerRows);
}

TEST_F(LoadCommandTest, ALoadThatFailsLeavesThePlayersAsTheLastCompleteLoadLeftThem) {
  ASSERT_EQ(Run({"load", "sample"}), 0);
  test::Rows players;
  {
    Database db(program_ / "data");
    players = test::ReadRows(db, "sample_players.db");
  }
  // Every player gets a new first name, and the last line is damaged.
  const fs::path file = ImportExportFolder(SavedGameFolder(game_, "sample")) / "players.csv";
  std::string text = test::ReadBytes(file);
  std::string changed;
  std::size_t start = 0;
  std::size_t line = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string record = text.substr(start, end - start);
    if (line++ > 0 && record.find(';') != std::string::npos) {
      const std::size_t first = record.find(';') + 1;
      record.insert(first, "New");
    }
    changed += record;
    start = end;
  }
  changed += "999999;Bad;Line\r\n";
  test::WriteBytes(file, changed);
  EXPECT_EQ(Run({"load", "sample"}), 1);
  EXPECT_EQ(err_.str(), "players.csv line " + std::to_string(line + 1) +
                            ": field 7 is missing (the record has 3 fields)\n");
  Database db(program_ / "data");
  EXPECT_EQ(test::ReadRows(db, "sample_players.db"), players);
}

}  // namespace
}  // namespace likentor
