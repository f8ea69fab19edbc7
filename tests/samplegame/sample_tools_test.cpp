// The generator's building blocks and its command line.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <stdexcept>

#include "export_reader.h"
#include "samplegame/sample_random.h"
#include "samplegame/windows_1252.h"
#include "support/temp_folder.h"

namespace likentor::test {
namespace {

namespace fs = std::filesystem;
using samplegame::FromWindows1252;
using samplegame::SampleRandom;
using samplegame::ToWindows1252;

TEST(Windows1252, EncodesLatinLettersAndTheCodesBelowA0) {
  EXPECT_EQ(ToWindows1252("Jos\u00e9 Pe\u00f1a"),
            "Jos\xE9 Pe\xF1"
            "a");
  EXPECT_EQ(ToWindows1252("\u0160imek \u017d\u00e1k \u20ac"), "\x8Aimek \x8E\xE1k \x80");
  EXPECT_EQ(ToWindows1252("O'Neill"), "O'Neill");
  EXPECT_EQ(FromWindows1252("\x8Aimek M\xFCller \x80"), "\u0160imek M\u00fcller \u20ac");
  EXPECT_THROW(ToWindows1252("\u0141ukasz"), std::invalid_argument);  // Ł is not in the code page
  EXPECT_THROW(ToWindows1252("\xC3"), std::invalid_argument);         // cut UTF-8
}

TEST(SampleRandom, SameSeedSameDrawsAndDrawsStayInRange) {
  SampleRandom a(42), b(42), c(43);
  bool differs = false;
  for (int i = 0; i < 100; ++i) {
    const auto x = a.Next();
    EXPECT_EQ(x, b.Next());
    differs |= x != c.Next();
  }
  EXPECT_TRUE(differs);
  std::set<std::uint64_t> seen;
  for (int i = 0; i < 2000; ++i) {
    const auto v = a.Below(7);
    EXPECT_LT(v, 7u);
    seen.insert(v);
    const int r = a.Range(-3, 3);
    EXPECT_TRUE(r >= -3 && r <= 3);
  }
  EXPECT_EQ(seen.size(), 7u);
  EXPECT_EQ(a.Below(0), 0u);
  const int weights[] = {0, 5, 0, 1};
  std::set<std::size_t> picked;
  for (int i = 0; i < 500; ++i) picked.insert(a.Weighted(weights));
  EXPECT_EQ(picked, (std::set<std::size_t>{1, 3}));
}

TEST(SampleGameCommandLine, WritesSavedGamesBesideEachOtherAndRejectsBadOptions) {
  TempFolder folder;
  const std::string tool = std::string(LIKENTOR_TOOLS_DIR) + "/likentor-samplegame";
  const std::string game = (folder / "game").string();
  ASSERT_EQ(std::system((tool + " --quiet --players 80 --name first '" + game + "'").c_str()), 0);
  ASSERT_EQ(
      std::system((tool + " --quiet --players 80 --teams 35 --years 3 --name second '" + game + "'")
                      .c_str()),
      0);
  auto options = SmallGame(game);
  options.name = "first";
  const SavedGameFiles first(options);
  options.name = "second";
  const SavedGameFiles second(options);
  EXPECT_EQ(ReadExport(first.players, ';').records.size(), 80u);
  EXPECT_EQ(ReadExport(first.teams, ';').records.size(), 30u);
  EXPECT_EQ(ReadExport(second.teams, ';').records.size(), 35u);
  EXPECT_EQ(ReadExport(first.nationsTxt, ',').records.size(), 220u);
  std::set<std::string> years;
  for (const auto& r : ReadExport(second.batting, ';').records) years.insert(r[1]);
  EXPECT_EQ(years, (std::set<std::string>{"2004", "2005", "2006"}));

  const std::string quietErrors = " >/dev/null 2>&1";
  EXPECT_NE(std::system((tool + " --size huge '" + game + "'" + quietErrors).c_str()), 0);
  EXPECT_NE(std::system((tool + quietErrors).c_str()), 0);
  EXPECT_NE(std::system((tool + " --teams 0 '" + game + "'" + quietErrors).c_str()), 0);
}

}  // namespace
}  // namespace likentor::test
