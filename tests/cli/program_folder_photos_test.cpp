// Photos of a small generated saved game under program folders that once broke them: a second
// program folder set up on a game that already holds our portraits, and a program folder whose
// path is longer than the path fields of the tables.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "database/table_store.h"
#include "portrait/png_image.h"
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

// The game was loaded before with the same exports: commands use that load.
constexpr const char* kUnchanged = "sample.lg unchanged since the last load.\n";

class ProgramFolderPhotosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(Kit() / "uniforms" / "bill underside.png")) {
      GTEST_SKIP() << "the build drew no artwork kit into " << Kit();
    }
    test::WriteSmallSampleGame(game_);
  }

  static fs::path Kit() { return fs::path(LIKENTOR_PROGRAM_DIR) / "graphics"; }

  // A program folder with the shipped data files and the build's artwork, set up on the game.
  void SetUpProgram(const fs::path& program) {
    test::InstallDataFiles(program);
    fs::create_directory_symlink(Kit(), program / "graphics");
    const Outcome setup = Run(
        program, {"setup", "--program-folder", program.string(), "--game-folder", game_.string()});
    ASSERT_EQ(setup.status, 0) << setup.err;
  }

  Outcome Run(const fs::path& program, std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", program.string()});
    return test::RunInProcess(std::move(args), program);
  }

  std::map<int, std::string> Column(const fs::path& program, const std::string& table,
                                    const std::string& field) {
    Database db(DataFolder(program));
    return test::ColumnByKey(db, table, field);
  }

  std::set<int> Locked(const fs::path& program) {
    std::set<int> locked;
    for (const auto& [id, value] : Column(program, "sample_players.db", "locked")) {
      if (value == "true") locked.insert(id);
    }
    return locked;
  }

  // A stored path as the program reads it: relative to the program folder, or as it stands.
  static fs::path Resolved(const fs::path& program, const std::string& stored) {
    const fs::path path(stored);
    return path.is_relative() ? program / path : path;
  }

  test::TempFolder folder_;
  fs::path game_ = folder_ / "game";
};

TEST_F(ProgramFolderPhotosTest, ASecondProgramFolderTakesOurPortraitsForOurs) {
  const fs::path first = folder_ / "first";
  SetUpProgram(first);
  ASSERT_EQ(Run(first, {"load", "sample"}).status, 0);
  const std::set<int> ownPictures = Locked(first);
  int flagged = 0;
  for (const auto& [id, value] : Column(first, "sample_players.db", "update_required")) {
    if (value == "true" && !ownPictures.contains(id)) ++flagged;
  }
  ASSERT_GT(flagged, 0);
  Outcome run = Run(first, {"photos", "sample", "--scope", "0"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string made = run.out;
  EXPECT_NE(made.find("Successfully created"), std::string::npos) << made;
  EXPECT_EQ(made.find("Successfully created 0 photos."), std::string::npos) << made;

  // Tables made afresh on the same game, which now holds our portraits: the same players locked,
  // the same portraits made again.
  const fs::path second = folder_ / "second";
  SetUpProgram(second);
  ASSERT_EQ(Run(second, {"load", "sample"}).status, 0);
  EXPECT_EQ(Locked(second), ownPictures);
  run = Run(second, {"photos", "sample", "--scope", "0"});
  ASSERT_EQ(run.status, 0) << run.err;
  // The same count; the portraits written over are kept for undo, and the message says so.
  EXPECT_EQ(run.out.substr(0, made.size() - 1), made.substr(0, made.size() - 1));
  EXPECT_NE(run.out.find("earlier pictures were kept"), std::string::npos) << run.out;
}

TEST_F(ProgramFolderPhotosTest, ALongProgramFolderKeepsEveryPathWhole) {
  const fs::path program = folder_ / std::string(150, 'p');
  SetUpProgram(program);
  ASSERT_EQ(Run(program, {"load", "sample"}).status, 0);

  int custom = 0;
  for (const auto& [id, stored] : Column(program, "sample_teams.db", "custom_uniform_file")) {
    if (stored == "none") continue;
    ++custom;
    EXPECT_TRUE(fs::is_regular_file(Resolved(program, stored))) << id << ": " << stored;
  }
  EXPECT_GT(custom, 0);
  const auto accessories = Column(program, "accessories.db", "location");
  ASSERT_EQ(accessories.size(), 4u);
  for (const auto& [id, stored] : accessories) {
    EXPECT_TRUE(fs::is_regular_file(Resolved(program, stored))) << id << ": " << stored;
  }

  // A picture of the program's own is stored so that it is found again.
  const fs::path astros = program / "graphics" / "uniforms" / "custom" / "MLB" / "Astros_home.png";
  Outcome run = Run(program, {"uniform", "sample", "2", astros.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kUnchanged) + "Successfully set custom uniform.\n");
  const auto uniforms = Column(program, "sample_teams.db", "custom_uniform_file");
  EXPECT_TRUE(fs::equivalent(Resolved(program, uniforms.at(2)), astros)) << uniforms.at(2);

  // One elsewhere whose path the field cannot hold is refused, and nothing is stored.
  const fs::path elsewhere = folder_ / std::string(130, 'e') / "mine.png";
  fs::create_directories(elsewhere.parent_path());
  fs::copy_file(astros, elsewhere);
  run = Run(program, {"uniform", "sample", "2", elsewhere.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Cannot store the custom uniform \"" + elsewhere.string() +
                         "\": its path is longer than the 127 characters that the teams table "
                         "holds.\n");
  EXPECT_EQ(Column(program, "sample_teams.db", "custom_uniform_file"), uniforms);

  run = Run(program, {"photos", "sample", "--scope", "0"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("Successfully created 0 photos."), std::string::npos) << run.out;
}

}  // namespace
}  // namespace likentor
