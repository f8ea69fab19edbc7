// The command line when things go wrong around it: table files that are not tables, rows refused
// during a load, a second copy of the program on the same folder, and a folder it may not write.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "database/table_store.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "shell/folders.h"
#include "shell/program_lock.h"
#include "support/command_line_runs.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

constexpr const char* kLoaded = "sample.lg loaded successfully.\n";
const std::string kLikentor = std::string(LIKENTOR_PROGRAM_DIR) + "/likentor";
constexpr fs::perms kWriteBits =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

std::string Quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

class ReliabilityTest : public ::testing::Test {
 protected:
  ReliabilityTest() {
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

  // The real executable in a process of its own, as `prefix` (a user to run as, say) gives it.
  Outcome RunProgram(const std::string& args, const std::string& prefix = "") {
    const fs::path out = folder_ / "stdout.txt";
    const fs::path err = folder_ / "stderr.txt";
    const std::string line = prefix + kLikentor + " -C " + Quoted(program_) + " " + args + " >" +
                             Quoted(out) + " 2>" + Quoted(err);
    const int raw = std::system(line.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = test::ReadBytes(out);
    run.err = test::ReadBytes(err);
    return run;
  }

  int Rows(const std::string& table) {
    Database db(DataFolder(program_));
    Table t(db, table);
    return t.RecordCount();
  }

  std::string Log() { return test::ReadBytes(program_ / "errors.txt"); }

  int FirstPlayer() {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    return t.GetInt(kPlayerIdField);
  }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
  fs::path game_ = folder_ / "game";
  fs::path data_ = program_ / "data";
};

TEST_F(ReliabilityTest, GameTablesThatAreNotTablesAreMadeAgainByTheNextLoad) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const int teams = Rows("sample_teams.db");
  const int players = Rows("sample_players.db");
  ASSERT_GT(teams, 0);
  // An emptied file, and one that is no database at all.
  test::WriteBytes(data_ / "sample_teams.db", "");
  test::WriteBytes(data_ / "sample_players.db", std::string(3000, 'z'));

  const Outcome run = Run({"load", "sample"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "sample.lg loaded with 2 errors; see the errors log.\n");
  EXPECT_EQ(Rows("sample_teams.db"), teams);
  EXPECT_EQ(Rows("sample_players.db"), players);
  const std::string log = Log();
  for (const char* table : {"sample_teams.db", "sample_players.db"}) {
    EXPECT_NE(log.find(std::string("The table ") + table + " was not a readable table ("),
              std::string::npos)
        << log;
  }
  EXPECT_NE(log.find("it was made again from the saved game's exports."), std::string::npos);

  // Made again, the tables load as any others.
  const Outcome again = Run({"load", "sample"});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, kLoaded);
}

TEST_F(ReliabilityTest, ASharedTableThatIsNotATableNamesTheSetupThatMakesItAgain) {
  test::WriteBytes(data_ / "games.db", "");
  const std::string setup = "likentor -C \"" + program_.string() + "\" setup --program-folder \"" +
                            program_.string() + "\" --game-folder \"" + game_.string() + "\"";
  for (const char* command : {"tables", "load"}) {
    const Outcome run =
        command == std::string("tables") ? Run({"tables"}) : Run({"load", "sample"});
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(
        run.err.rfind("The table games.db in " + data_.string() + " is not a readable table (", 0),
        0u)
        << run.err;
    EXPECT_NE(run.err.find(". Run the setup again to make the shared tables anew: " + setup + "\n"),
              std::string::npos)
        << run.err;
  }
  ASSERT_EQ(
      Run({"setup", "--program-folder", program_.string(), "--game-folder", game_.string()}).status,
      0);
  EXPECT_EQ(Run({"tables"}).status, 0);
  EXPECT_EQ(Run({"load", "sample"}).out, kLoaded);
}

TEST_F(ReliabilityTest, RowsRefusedDuringALoadEndItWithTheirCount) {
  // A league whose name is a quoted empty text: the store refuses its row.
  const fs::path leagues = ResolveSavedGame(game_, "sample").Export(kLeaguesExport);
  ASSERT_TRUE(fs::is_regular_file(leagues));
  std::string text = test::ReadBytes(leagues);
  const std::size_t firstRow = text.find('\n') + 1;
  const std::size_t nameStart = text.find(';', firstRow) + 1;
  const std::size_t nameEnd = text.find(';', nameStart);
  text.replace(nameStart, nameEnd - nameStart, "\"\"");
  test::WriteBytes(leagues, text);

  Outcome run = Run({"load", "sample"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "sample.lg loaded with 1 error; see the errors log.\n");
  EXPECT_NE(Log().find("Error posting record  to sample_leagues.db"), std::string::npos) << Log();

  // A command that loads first goes on with its work and still fails at the end.
  run = Run({"lock", "sample", "all"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "Success!\n");
  EXPECT_EQ(run.err, "sample.lg loaded with 1 error; see the errors log.\n");
}

TEST_F(ReliabilityTest, ACopyThatWritesWaitsForAnotherOneAndReadersRunAlongside) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  {
    // This process is the other copy, at work in the program folder.
    ProgramLock other(program_);
    const std::string held = "Another Likentor is working in " + program_.string() + " (process " +
                             std::to_string(::getpid()) + ").\n";
    const std::string setup =
        "setup --program-folder " + Quoted(program_) + " --game-folder " + Quoted(game_);
    for (const std::string& command : {std::string("load sample"), std::string("lock sample all"),
                                       std::string("errors --clear"), setup}) {
      const Outcome run = RunProgram(command);
      EXPECT_EQ(run.status, 1) << command;
      EXPECT_EQ(run.err, held) << command;
    }
    Outcome run = RunProgram("tables");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 12), "games.db;1\nn");
    run = RunProgram("show games");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("sample"), std::string::npos);
    run = RunProgram("errors");
    EXPECT_EQ(run.status, 0) << run.err;
    // A search reads the tables as the last load left them.
    run = RunProgram("search sample --id " + std::to_string(FirstPlayer()));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err,
              held.substr(0, held.size() - 1) + " Searching sample as it was last loaded.\n");
    EXPECT_NE(run.out.find("player_id"), std::string::npos) << run.out;
  }
  // Let go, the next copy works as ever.
  const Outcome run = RunProgram("load sample");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kLoaded);
}

TEST_F(ReliabilityTest, CommandsThatReadWorkOnAFolderThatMayNotBeWritten) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const Outcome written = Run({"tables"});
  ASSERT_EQ(written.status, 0);
  // Not writable for the user who runs the program: another user's folder for root, which may
  // write anywhere, else the folder made read-only.
  const std::string search = "search sample --id " + std::to_string(FirstPlayer());
  std::string prefix;
  if (::geteuid() == 0) {
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  } else {
    for (const auto& entry : fs::recursive_directory_iterator(program_)) {
      fs::permissions(entry.path(), kWriteBits, fs::perm_options::remove);
    }
    fs::permissions(program_, kWriteBits, fs::perm_options::remove);
  }
  Outcome run = RunProgram("tables", prefix);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, written.out);
  run = RunProgram("show nations", prefix);
  EXPECT_EQ(run.status, 0) << run.err;
  run = RunProgram(search, prefix);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("player_id"), std::string::npos) << run.out;
  // A command that writes stops at once, saying where it may not write.
  run = RunProgram("load sample", prefix);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(
      run.err.rfind("Could not take the lock " + (data_ / "likentor.lock").string() + ": ", 0), 0u)
      << run.err;
  if (::geteuid() != 0) {
    fs::permissions(program_, fs::perms::owner_write, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(program_)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
  }
}

}  // namespace
}  // namespace likentor
