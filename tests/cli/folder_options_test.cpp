// Folders given on the command line are stored as full paths without a trailing separator, whether
// they were typed absolute or relative to the working folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/command_line_runs.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

TEST(FolderOptions, SetupStoresFoldersWithoutATrailingSeparator) {
  test::TempFolder folder;
  const std::string p = (folder / "p").string();
  const std::string g = (folder / "g").string();
  const test::Outcome absolute =
      test::RunInProcess({"-C", p, "setup", "--program-folder", p + "/", "--game-folder", g + "//"},
                         LIKENTOR_PROGRAM_DIR);
  EXPECT_EQ(absolute.status, 0) << absolute.err;
  EXPECT_EQ(test::ReadBytes(folder / "p" / "configuration.ini"), "7\r\n" + p + "\r\n" + g + "\r\n");
  // A game folder without saved games is kept as given, and said.
  EXPECT_NE(absolute.out.find("Note: " + g +
                              " has no data/saved_games, so Likentor will find no saved game in "
                              "it.\n"),
            std::string::npos)
      << absolute.out;

  // The same folders typed relative to the working folder give the same file; with saved games
  // there, nothing to note.
  std::filesystem::create_directories(folder / "g" / "data" / "saved_games");
  const test::Outcome relative = test::RunInProcess(
      {"-C", p, "setup", "--program-folder", ".", "--game-folder", "../g/"}, LIKENTOR_PROGRAM_DIR);
  EXPECT_EQ(relative.status, 0) << relative.err;
  EXPECT_EQ(test::ReadBytes(folder / "p" / "configuration.ini"), "7\r\n" + p + "\r\n" + g + "\r\n");
  EXPECT_EQ(relative.out.find("Note:"), std::string::npos) << relative.out;
}

}  // namespace
}  // namespace likentor
