// PublishFile: the bytes in place at once, as a new file; a file that holds them already left
// alone when asked. Both ways of publishing (an unnamed file linked in place, and the named file
// beside it renamed, which the first falls back to) on real files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "shell/platform.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

ino_t Inode(const fs::path& file) {
  struct stat info {};
  return ::lstat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

// The names in a folder.
std::size_t Files(const fs::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

class PublishFileTest : public testing::TestWithParam<PublishWay> {};

TEST_P(PublishFileTest, PutsTheBytesInPlaceAsANewFileOrLeavesTheSameBytesAlone) {
  const PublishWay way = GetParam();
  test::TempFolder folder;
  const fs::path file = folder / "Player_7.png";

  // A new name.
  PublishedFile done = PublishFile(file, Bytes("first"), true, way);
  ASSERT_EQ(done.error, 0);
  EXPECT_TRUE(done.created);
  EXPECT_FALSE(done.unchanged);
  EXPECT_EQ(test::ReadBytes(file), "first");
  ASSERT_TRUE(SizeAndTimeOf(file));
  EXPECT_EQ(done.stamp.size, 5u);
  EXPECT_EQ(done.stamp.modified, SizeAndTimeOf(file)->modified);
  EXPECT_EQ(Files(folder.Path()), 1u);

  // Over a file with a second name: a new file takes the name, the other name keeps the bytes.
  const fs::path kept = folder / "kept.png";
  ASSERT_EQ(MakeHardLink(file, kept), 0);
  done = PublishFile(file, Bytes("other"), true, way);  // the same size, other bytes
  ASSERT_EQ(done.error, 0);
  EXPECT_FALSE(done.unchanged);
  EXPECT_EQ(test::ReadBytes(file), "other");
  EXPECT_EQ(test::ReadBytes(kept), "first");
  EXPECT_NE(Inode(file), Inode(kept));
  EXPECT_EQ(Files(folder.Path()), 2u);

  // The same bytes: left as they are, time and file, unless asked to make a new file all the same.
  const ino_t inode = Inode(file);
  const FileSizeAndTime stamp = *SizeAndTimeOf(file);
  done = PublishFile(file, Bytes("other"), true, way);
  ASSERT_EQ(done.error, 0);
  EXPECT_TRUE(done.unchanged);
  EXPECT_EQ(done.stamp.size, stamp.size);
  EXPECT_EQ(done.stamp.modified, stamp.modified);
  EXPECT_EQ(Inode(file), inode);
  EXPECT_EQ(SizeAndTimeOf(file)->modified, stamp.modified);
  done = PublishFile(file, Bytes("other"), false, way);
  ASSERT_EQ(done.error, 0);
  EXPECT_FALSE(done.unchanged);
  EXPECT_NE(Inode(file), inode);
  EXPECT_EQ(test::ReadBytes(file), "other");
  // A longer file that begins with the bytes is no match.
  done = PublishFile(file, Bytes("oth"), true, way);
  EXPECT_FALSE(done.unchanged);
  EXPECT_EQ(test::ReadBytes(file), "oth");

  // The file a killed write left beside it is replaced and gone.
  test::WriteBytes(fs::path(file).concat(".part"), "cut sh");
  done = PublishFile(file, Bytes("third"), true, way);
  ASSERT_EQ(done.error, 0);
  EXPECT_EQ(test::ReadBytes(file), "third");
  EXPECT_FALSE(fs::exists(fs::path(file).concat(".part")));
  EXPECT_EQ(Files(folder.Path()), 2u);

  // A symbolic link with the very bytes behind it is replaced by a file; its target stays.
  const fs::path link = folder / "Player_8.png";
  fs::create_symlink(file, link);
  done = PublishFile(link, Bytes("third"), true, way);
  ASSERT_EQ(done.error, 0);
  EXPECT_FALSE(done.unchanged);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(link)));
  EXPECT_EQ(test::ReadBytes(link), "third");
  EXPECT_NE(Inode(link), Inode(file));

  // A folder that is not there: nothing made, the error said.
  done = PublishFile(folder / "gone" / "Player_9.png", Bytes("x"), true, way);
  EXPECT_EQ(done.error, ENOENT);
  EXPECT_FALSE(done.created);
  EXPECT_FALSE(fs::exists(folder / "gone"));
  EXPECT_EQ(Files(folder.Path()), 3u);
}

INSTANTIATE_TEST_SUITE_P(BothWays, PublishFileTest,
                         testing::Values(PublishWay::Best, PublishWay::Rename));

}  // namespace
}  // namespace likentor
