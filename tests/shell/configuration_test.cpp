#include "shell/configuration.h"

#include <gtest/gtest.h>

#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

TEST(Configuration, WritesThreeCrLfLinesAndReadsThemBackVerbatim) {
  test::TempFolder folder;
  EXPECT_TRUE(IsFirstUse(folder.Path()));
  EXPECT_FALSE(ReadConfiguration(folder.Path()).has_value());
  const std::string program = folder.Path().string();
  WriteCfgFile({program, " /games/Vask Baseball 2006 "});
  EXPECT_EQ(test::ReadBytes(folder / "configuration.ini"),
            "7\r\n" + program + "\r\n /games/Vask Baseball 2006 \r\n");
  EXPECT_FALSE(IsFirstUse(folder.Path()));
  const auto read = ReadConfiguration(folder.Path());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->programFolder.string(), program);
  EXPECT_EQ(read->gameFolder.string(), " /games/Vask Baseball 2006 ");  // no trimming
}

TEST(Configuration, AnotherVersionOrAShortFileIsNotASetUp) {
  test::TempFolder folder;
  const auto file = folder / "configuration.ini";
  for (const char* bytes :
       {"7 \r\n/p\r\n/g\r\n", "07\r\n/p\r\n/g\r\n", "7\r\n/p\r\n", "", "6\r\n/p\r\n/g\r\n"}) {
    test::WriteBytes(file, bytes);
    EXPECT_FALSE(IsFirstUse(folder.Path()));
    EXPECT_FALSE(ReadConfiguration(folder.Path()).has_value()) << bytes;
  }
  // Line ends written by other tools still read as lines; a missing last line end is fine.
  test::WriteBytes(file, "7\n/p\n/g");
  const auto read = ReadConfiguration(folder.Path());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->gameFolder, "/g");
}

TEST(Configuration, WritingIntoAMissingFolderFails) {
  test::TempFolder folder;
  EXPECT_THROW(WriteCfgFile({folder / "missing", "/g"}), Error);
}

}  // namespace
}  // namespace likentor
