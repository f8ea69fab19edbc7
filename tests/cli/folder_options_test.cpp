// Folders given on the command line are stored as full paths without a trailing separator, whether
// they were typed absolute or relative to the working folder.

#include <gtest/gtest.h>

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

  // The same folders typed relative to the working folder give the same file.
  const test::Outcome relative = test::RunInProcess(
      {"-C", p, "setup", "--program-folder", ".", "--game-folder", "../g/"}, LIKENTOR_PROGRAM_DIR);
  EXPECT_EQ(relative.status, 0) << relative.err;
  EXPECT_EQ(test::ReadBytes(folder / "p" / "configuration.ini"), "7\r\n" + p + "\r\n" + g + "\r\n");
}

}  // namespace
}  // namespace likentor
