// The page commands on the command line (search, lock, unlock, uniform, settings), each loading a
// small generated saved game first, checked against the tables they leave.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "database/table_store.h"
#include "shell/folders.h"
#include "support/command_line_runs.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

constexpr const char* kLoaded = "sample.lg loaded successfully.\n";
// A command on a game whose exports did not change since its last load uses that load's tables.
constexpr const char* kUnchanged = "sample.lg unchanged since the last load.\n";

class PageCommandsTest : public ::testing::Test {
 protected:
  PageCommandsTest() {
    test::InstallDataFiles(program_);
    const Outcome setup =
        Run({"setup", "--program-folder", program_.string(), "--game-folder", game_.string()});
    EXPECT_EQ(setup.status, 0) << setup.err;
    test::WriteSmallSampleGame(game_);
  }

  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", program_.string()});
    return test::RunInProcess(std::move(args), program_);
  }

  // One field of every row of a table of the data folder, by key.
  std::map<int, std::string> Column(const std::string& table, const std::string& field) {
    Database db(DataFolder(program_));
    return test::ColumnByKey(db, table, field);
  }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
  fs::path game_ = folder_ / "game";
};

TEST_F(PageCommandsTest, LockAndUnlockChangeTheirPlayersOnly) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const auto retired = Column("sample_players.db", "retired");
  const auto before = Column("sample_players.db", "locked");
  const auto updateBefore = Column("sample_players.db", "update_required");
  ASSERT_GT(std::count_if(retired.begin(), retired.end(),
                          [](const auto& r) { return r.second == "true"; }),
            0);

  Outcome run = Run({"lock", "sample", "active"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Success!\n");
  auto locked = Column("sample_players.db", "locked");
  for (const auto& [id, isRetired] : retired) {
    EXPECT_EQ(locked.at(id), isRetired == "true" ? before.at(id) : "true") << "player " << id;
  }

  run = Run({"unlock", "sample", "retired"});
  EXPECT_EQ(run.status, 0) << run.err;
  locked = Column("sample_players.db", "locked");
  for (const auto& [id, isRetired] : retired) {
    EXPECT_EQ(locked.at(id), isRetired == "true" ? "false" : "true") << "player " << id;
  }
  EXPECT_EQ(Column("sample_players.db", "update_required"), updateBefore);

  EXPECT_EQ(Run({"unlock", "sample", "all"}).status, 0);
  for (const auto& [id, value] : Column("sample_players.db", "locked")) EXPECT_EQ(value, "false");

  run = Run({"lock", "sample", "everyone"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("everyone"), std::string::npos) << run.err;
}

TEST_F(PageCommandsTest, SearchPrintsTheMatchingRows) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const auto lastNames = Column("sample_players.db", "last_name");
  const std::string prefix = lastNames.begin()->second.substr(0, 2);
  // The store's LIKE ignores the case of ASCII letters.
  const auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  std::set<int> expected;
  for (const auto& [id, last] : lastNames) {
    if (lower(last).starts_with(lower(prefix))) expected.insert(id);
  }

  Outcome run = Run({"search", "sample", "--last", prefix});
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line + "\n", kUnchanged);
  std::getline(lines, line);
  EXPECT_TRUE(line.starts_with("player_id;first_name;last_name;nation_id;retired;team_id;"))
      << line;
  std::set<int> found;
  while (std::getline(lines, line)) found.insert(std::stoi(line.substr(0, line.find(';'))));
  EXPECT_EQ(found, expected);

  // The id wins over the names; nothing given, or nothing found, says so.
  const int id = lastNames.rbegin()->first;
  run = Run({"search", "sample", "--id", std::to_string(id), "--last", "Zzz"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\n" + std::to_string(id) + ";"), std::string::npos) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3);
  EXPECT_EQ(Run({"search", "sample"}).out, std::string(kUnchanged) + "No matches found.\n");
  EXPECT_EQ(Run({"search", "sample", "--first", "%"}).out,
            std::string(kUnchanged) + "No matches found.\n");
  EXPECT_EQ(Run({"search", "sample", "--id", "x"}).status, 2);
}

TEST_F(PageCommandsTest, UniformSetsOrRemovesATeamsPicture) {
  Outcome run = Run({"uniform", "sample", "2", "none"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kLoaded) + "Successfully removed custom uniform.\n");
  EXPECT_EQ(Column("sample_teams.db", "custom_uniform_file").at(2), "none");

  // A relative path is taken from the working folder; a missing file is stored with a warning.
  run = Run({"uniform", "sample", "2", "mine/owls.png"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Successfully set custom uniform.\n");
  EXPECT_NE(run.err.find("Warning: " + (program_ / "mine/owls.png").string() + " does not exist"),
            std::string::npos)
      << run.err;
  const auto uniforms = Column("sample_teams.db", "custom_uniform_file");
  EXPECT_EQ(uniforms.at(2), (program_ / "mine/owls.png").string());

  run = Run({"uniform", "sample", "99", "none"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "The saved game sample has no team 99.\n");
  EXPECT_EQ(Column("sample_teams.db", "custom_uniform_file"), uniforms);
  // The next load keeps the assignment.
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  EXPECT_EQ(Column("sample_teams.db", "custom_uniform_file"), uniforms);
}

TEST_F(PageCommandsTest, SettingsShowsAndSavesTheGamesRow) {
  Outcome run = Run({"settings", "sample"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kLoaded) +
                         "game_id=1\nuniverse_name=sample\nuse_logos=true\nrecycle_faces=true\n"
                         "create_active_photos=true\nactive_ab_minimum=500\n"
                         "active_ip_minimum=150\nlevel_scope=1\ncreate_retired_photos=true\n"
                         "retired_ab_minimum=1000\nretired_ip_minimum=350\n"
                         "spread_faces=false\nplayers_age=false\n");

  run = Run({"settings", "sample", "active_ab_minimum=320", "create_retired_photos=false"});
  EXPECT_EQ(run.status, 0) << run.err;
  // Aging is switched on and off again through the command line and kept in the games row.
  run = Run({"settings", "sample", "players_age=true"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\nplayers_age=true\n"), std::string::npos) << run.out;
  EXPECT_EQ(Column("games.db", "players_age").at(1), "true");
  ASSERT_EQ(Run({"settings", "sample", "players_age=false"}).status, 0);
  EXPECT_EQ(Column("games.db", "players_age").at(1), "false");
  EXPECT_EQ(Column("games.db", "active_ab_minimum").at(1), "320");
  EXPECT_EQ(Column("games.db", "create_retired_photos").at(1), "false");
  EXPECT_NE(run.out.find("\nactive_ab_minimum=320\n"), std::string::npos) << run.out;

  // A bad change is refused before anything is loaded or changed.
  for (const char* bad : {"active_ip_minimum=-5", "retired_ab_minimum=1", "use_logos=1"}) {
    run = Run({"settings", "sample", "use_logos=false", bad});
    EXPECT_EQ(run.status, 2) << bad;
    EXPECT_EQ(run.out, "") << bad;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_EQ(Column("games.db", "use_logos").at(1), "true");
  EXPECT_EQ(Column("games.db", "active_ip_minimum").at(1), "150");
}

}  // namespace
}  // namespace likentor
