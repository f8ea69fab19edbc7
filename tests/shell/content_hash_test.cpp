#include "shell/content_hash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/error.h"

namespace likentor {
namespace {

const std::string kLong =
    "The quick brown fox jumps over the lazy dog, twice: The quick brown fox jumps over the lazy "
    "dog.Hello, world!";

// 3,000 printable bytes, byte i being ' ' + (7 i mod 95): several of the hash's 1,024-byte blocks.
std::string LongBytes() {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(' ' + (i * 7) % 95);
  return bytes;
}

// The values of the reference XXH3 64-bit (xxhsum -H3), for each length class the hash treats
// apart: empty, up to 16 bytes, up to 128, and longer than a block; pieces cut anywhere give the
// whole's value.
TEST(ContentHash, GivesTheReferenceValuesHoweverTheBytesAreCut) {
  EXPECT_EQ(HashBytes(""), 0x2d06800538d394c2ULL);
  EXPECT_EQ(HashBytes("a"), 0xe6c632b61e964e1fULL);
  EXPECT_EQ(HashBytes("abc"), 0x78af5f94892f3950ULL);
  ASSERT_EQ(kLong.size(), 109U);
  EXPECT_EQ(HashBytes(kLong), 0x7b481d3fc79382b0ULL);
  const std::string longBytes = LongBytes();
  EXPECT_EQ(HashBytes(longBytes), 0xf3783b2b7ce33319ULL);
  for (const std::string& whole : {kLong, longBytes}) {
    for (std::size_t cut = 0; cut <= whole.size(); cut += whole.size() > 200 ? 97 : 1) {
      ContentHash pieces;
      pieces.Add(std::string_view(whole).substr(0, cut));
      pieces.Add(std::string_view(whole).substr(cut, 1));
      pieces.Add(std::string_view(whole).substr(std::min(cut + 1, whole.size())));
      EXPECT_EQ(pieces.Value(), HashBytes(whole)) << "cut at " << cut;
    }
  }
}

TEST(ContentHash, HashesAFileAsItsBytes) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "hash_file";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "players.csv";
  // Larger than the reader's buffer, so that the bytes come in several reads.
  std::string bytes;
  for (int i = 0; bytes.size() < 2500 * 1024; ++i) bytes += std::to_string(i) + ";Smith;John\n";
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
