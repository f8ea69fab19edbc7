#include "shell/content_hash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/error.h"

namespace likentor {
namespace {

const std::string kLong =
    "The quick brown fox jumps over the lazy dog, twice: The quick brown fox jumps over the lazy "
    "dog.Hello, world!";

// The values of the reference XXH64 (xxhsum -H1), for inputs shorter than a stripe, of one
// stripe and more with a tail of 8-, 4- and 1-byte steps.
TEST(ContentHash, GivesTheReferenceValuesHoweverTheBytesAreCut) {
  EXPECT_EQ(HashBytes(""), 0xef46db3751d8e999ULL);
  EXPECT_EQ(HashBytes("a"), 0xd24ec4f1a98c6e5bULL);
  EXPECT_EQ(HashBytes("abc"), 0x44bc2cf5ad770999ULL);
  ASSERT_EQ(kLong.size(), 3 * 32 + 8 + 4 + 1U);
  EXPECT_EQ(HashBytes(kLong), 0xccfe31039b2b5ffbULL);
  for (std::size_t cut = 0; cut <= kLong.size(); ++cut) {
    ContentHash pieces;
    pieces.Add(std::string_view(kLong).substr(0, cut));
    pieces.Add(std::string_view(kLong).substr(cut, 1));
    pieces.Add(std::string_view(kLong).substr(std::min(cut + 1, kLong.size())));
    EXPECT_EQ(pieces.Value(), HashBytes(kLong)) << "cut at " << cut;
  }
}

TEST(ContentHash, HashesAFileAsItsBytes) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "hash_file";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "players.csv";
  // Larger than the reader's buffer, so that the bytes come in several reads.
  std::string bytes;
  for (int i = 0; bytes.size() < 700 * 1024; ++i) bytes += std::to_string(i) + ";Smith;John\n";
  std::ofstream(file, std::ios::binary) << bytes;
  EXPECT_EQ(HashFile(file), HashBytes(bytes));
  bytes[bytes.size() / 2] ^= 1;
  std::ofstream(file, std::ios::binary) << bytes;
  EXPECT_EQ(HashFile(file), HashBytes(bytes));
  EXPECT_THROW(HashFile(folder / "missing.csv"), Error);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace likentor
