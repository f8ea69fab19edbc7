// Variants of the sample game: the same seed twice, awkward input, quoted texts, a multi-level
// structure, a modified nations list, the presets, and a game that moves on by a season.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "export_reader.h"
#include "support/temp_folder.h"

namespace likentor::test {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> FilesUnder(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), root).string()] = ReadBytes(entry.path());
    }
  }
  return files;
}

TEST(SampleGameVariants, SameSeedGivesTheSameFilesAndAnotherSeedOtherPlayers) {
  TempFolder a, b, c;
  auto options = SmallGame(a.Path(), 300);
  samplegame::GenerateSampleGame(options);
  options.gameFolder = b.Path().string();
  samplegame::GenerateSampleGame(options);
  options.gameFolder = c.Path().string();
  options.seed = 77;
  samplegame::GenerateSampleGame(options);

  const auto first = FilesUnder(a.Path());
  EXPECT_GT(first.size(), 30u);
  EXPECT_EQ(first, FilesUnder(b.Path()));
  const std::string players = "data/saved_games/sample.lg/import_export/players.csv";
  EXPECT_NE(first.at(players), FilesUnder(c.Path()).at(players));
}

TEST(SampleGameVariants, AwkwardInputStillParsesToTheSameFieldPositions) {
  TempFolder folder;
  auto options = SmallGame(folder.Path(), 300);
  options.awkward = true;
  samplegame::GenerateSampleGame(options);
  const SavedGameFiles files(options);

  for (const auto& file :
       {files.leagues, files.teams, files.players, files.batting, files.pitching}) {
    int blanks = 0;
    ReadExport(file, ';', &blanks);
    EXPECT_EQ(blanks, 1) << file;
  }
  const auto leagues = ReadExport(files.leagues, ';');
  ASSERT_EQ(leagues.records.size(), 1u);
  const auto& league = leagues.records[0];
  ASSERT_EQ(league.size(), 38u);
  EXPECT_GT(league[1].size(), 40u);
  EXPECT_EQ(league[15], "Pitcher \"Ace\"; of the Year");
  EXPECT_EQ(league[33], "1");

  const auto teams = ReadExport(files.teams, ';');
  ASSERT_GE(teams.records.size(), 15u);
  const auto& portland = teams.records[14];
  ASSERT_EQ(portland.size(), 24u);
  EXPECT_EQ(portland[0], "15");
  EXPECT_EQ(portland[1], "Portland; Oregon");
  EXPECT_EQ(portland[3], "\"Big\" Beavers");
  EXPECT_EQ(portland[12], "1");

  const auto players = ReadExport(files.players, ';');
  int quoted = 0;
  for (std::size_t i = 0; i < players.records.size(); ++i) {
    const auto& r = players.records[i];
    if (r[3] != "El \"Mago\"; Jr.") continue;
    ++quoted;
    EXPECT_NE(players.lines[i].find(";\"El \"\"Mago\"\"; Jr.\";"), std::string::npos);
    EXPECT_EQ(r.size(), 66u);
    const int position = ToInt(r[58]);
    EXPECT_TRUE(position >= 1 && position <= 9);
  }
  EXPECT_GT(quoted, 0);
}

TEST(SampleGameVariants, QuotedTextsParseToTheSameRecords) {
  TempFolder plain, quoted;
  auto options = SmallGame(plain.Path(), 200);
  samplegame::GenerateSampleGame(options);
  options.gameFolder = quoted.Path().string();
  options.quoteText = true;
  samplegame::GenerateSampleGame(options);
  const SavedGameFiles a(SmallGame(plain.Path())), b(options);
  for (const auto& [x, y] :
       {std::pair{a.leagues, b.leagues}, {a.teams, b.teams}, {a.players, b.players}}) {
    const auto left = ReadExport(x, ';');
    const auto right = ReadExport(y, ';');
    EXPECT_NE(left.lines, right.lines) << x;
    EXPECT_EQ(left.records, right.records) << x;
  }
}

TEST(SampleGameVariants, AffiliatesFillLevelsTwoToSixUnderTheMajorLeague) {
  TempFolder folder;
  auto options = SmallGame(folder.Path(), 600);
  options.teams = 45;
  samplegame::GenerateSampleGame(options);
  const SavedGameFiles files(options);

  std::map<int, int> leagueLevel;
  for (const auto& l : ReadExport(files.leagues, ';').records) {
    const int level = ToInt(l[33]);
    leagueLevel[ToInt(l[0])] = level;
    EXPECT_EQ(ToInt(l[29]), level == 1 ? 0 : 1) << "parent of league " << l[0];
  }
  std::set<int> levels;
  const auto teams = ReadExport(files.teams, ';');
  ASSERT_EQ(teams.records.size(), 45u);
  for (const auto& t : teams.records) {
    const int level = ToInt(t[12]);
    EXPECT_EQ(level, ToInt(t[0]) <= 30 ? 1 : level);
    EXPECT_EQ(leagueLevel.at(ToInt(t[8])), level) << "team " << t[0];
    levels.insert(level);
  }
  EXPECT_EQ(levels, (std::set<int>{1, 2, 3, 4, 5, 6}));
  int minorLines = 0, majorLines = 0;
  for (const auto& r : ReadExport(files.batting, ';').records) {
    (ToInt(r[2]) > 30 ? minorLines : majorLines)++;
  }
  EXPECT_GT(minorLines, 0);
  EXPECT_GT(majorLines, 0);
}

TEST(SampleGameVariants, ModifiedNationsListHasOneNationMoreAndOddCodes) {
  TempFolder folder;
  auto options = SmallGame(folder.Path(), 50);
  options.modifiedNations = true;
  samplegame::GenerateSampleGame(options);
  const auto nations = ReadExport(SavedGameFiles(options).nationsTxt, ',');
  ASSERT_EQ(nations.records.size(), 221u);  // 222 lines with the header
  std::map<std::string, std::string> region;
  for (const auto& n : nations.records) region[n[3]] = n[5];
  EXPECT_EQ(nations.records.back()[0], "221");
  EXPECT_EQ(nations.records.back()[5], "0");
  EXPECT_EQ(region["GRL"], "01");
  EXPECT_EQ(region["CAN"], "4");  // written with blanks around it
  EXPECT_EQ(region["USA"], "4");
  EXPECT_EQ(region["BRA"], "6");
}

TEST(SampleGameVariants, MediumPresetHasThirtyOrganizationsWithAffiliates) {
  auto options = SmallGame(fs::temp_directory_path());
  samplegame::ApplyPreset(options, samplegame::SizePreset::Medium);
  const auto world = samplegame::BuildWorld(options);
  ASSERT_EQ(world.teams.size(), 150u);
  std::map<int, int> perLevel;
  for (const auto& t : world.teams) {
    ++perLevel[t.level];
    EXPECT_TRUE(t.organization >= 1 && t.organization <= 30);
    EXPECT_EQ(world.LeagueById(t.leagueId)->level, t.level);
  }
  EXPECT_EQ(perLevel, (std::map<int, int>{{1, 30}, {2, 24}, {3, 24}, {4, 24}, {5, 24}, {6, 24}}));
  EXPECT_EQ(world.players.size(), 8000u);
  std::set<int> years;
  for (const auto& line : world.batting) years.insert(line.year);
  EXPECT_EQ(*years.begin(), 1997);
  EXPECT_EQ(*years.rbegin(), 2006);
}

TEST(SampleGameVariants, NextSeasonMovesRetiresAndAddsPlayersAndExtendsCareers) {
  TempFolder first, second;
  auto options = SmallGame(first.Path(), 600);
  samplegame::GenerateSampleGame(options);
  options.gameFolder = second.Path().string();
  options.season = 2;
  samplegame::GenerateSampleGame(options);
  const SavedGameFiles a(SmallGame(first.Path())), b(options);

  EXPECT_EQ(ReadBytes(a.teams), ReadBytes(b.teams));
  EXPECT_EQ(ReadBytes(a.leagues).substr(0, 200), ReadBytes(b.leagues).substr(0, 200));

  std::map<int, std::vector<std::string>> before, after;
  for (auto& r : ReadExport(a.players, ';').records) before[ToInt(r[0])] = r;
  for (auto& r : ReadExport(b.players, ';').records) after[ToInt(r[0])] = r;
  const int lastOldId = before.rbegin()->first;
  int moved = 0, released = 0, signedUp = 0, retired = 0, newcomers = 0;
  for (const auto& [id, old] : before) {
    ASSERT_TRUE(after.count(id)) << "player " << id << " left the export";
    const auto& now = after.at(id);
    EXPECT_EQ(now[1], old[1]);
    EXPECT_EQ(now[2], old[2]);
    if (old[11] == "1") {
      EXPECT_EQ(now[11], "1") << "player " << id << " came out of retirement";
      continue;
    }
    if (now[11] == "1") {
      ++retired;
    } else if (old[15] != "0" && now[15] == "0") {
      ++released;
    } else if (old[15] == "0" && now[15] != "0") {
      ++signedUp;
    } else if (old[15] != now[15]) {
      ++moved;
    }
  }
  std::set<int> newIds;
  for (const auto& [id, now] : after) {
    if (before.count(id)) continue;
    EXPECT_GT(id, lastOldId);
    EXPECT_EQ(now[11], "0");
    newIds.insert(id);
    ++newcomers;
  }
  EXPECT_GT(moved, 0);
  EXPECT_GT(released, 0);
  EXPECT_GT(signedUp, 0);
  EXPECT_GT(retired, 0);
  EXPECT_GT(newcomers, 0);

  // The old lines stay; the new season's lines belong to the players who were on a team, with
  // that team; newcomers have none.
  const auto oldLines = ReadExport(a.batting, ';').lines;
  const auto newLines = ReadExport(b.batting, ';');
  std::multiset<std::string> remaining(newLines.lines.begin(), newLines.lines.end());
  for (const auto& line : oldLines) {
    const auto it = remaining.find(line);
    ASSERT_NE(it, remaining.end()) << "lost line " << line;
    remaining.erase(it);
  }
  ASSERT_FALSE(remaining.empty());
  for (const auto& r : newLines.records) {
    const int id = ToInt(r[0]);
    EXPECT_FALSE(newIds.count(id)) << "newcomer " << id << " has a career line";
    if (r[1] != "2007") continue;
    const auto& old = before.at(id);
    EXPECT_EQ(old[11], "0");
    EXPECT_EQ(r[2], old[15]) << "player " << id;
  }
}

}  // namespace
}  // namespace likentor::test
