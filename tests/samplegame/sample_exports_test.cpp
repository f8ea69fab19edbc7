// A small sample game read back with the program's record parser: layout, encodings, field
// positions and counts of every export.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "export_reader.h"
#include "support/temp_folder.h"

namespace likentor::test {
namespace {

namespace fs = std::filesystem;

class SmallSampleGame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder();
    options_ = new samplegame::SampleGameOptions(SmallGame(folder_->Path()));
    samplegame::GenerateSampleGame(*options_);
    files_ = new SavedGameFiles(*options_);
  }
  static void TearDownTestSuite() {
    delete files_;
    delete options_;
    delete folder_;
  }
  static const SavedGameFiles& Files() { return *files_; }

 private:
  static inline TempFolder* folder_ = nullptr;
  static inline samplegame::SampleGameOptions* options_ = nullptr;
  static inline SavedGameFiles* files_ = nullptr;
};

TEST_F(SmallSampleGame, WritesTheGameFolderLayout) {
  const auto& f = Files();
  EXPECT_EQ(f.folder.filename(), "sample.lg");
  for (const auto& file : {f.leagues, f.teams, f.players, f.batting, f.pitching, f.nationsTxt,
                           f.images / "default_player_photo.jpg"}) {
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
  }
  // Every export ends its last line with CR LF and has no blank line.
  for (const auto& file : {f.leagues, f.teams, f.players, f.batting, f.pitching}) {
    int blanks = -1;
    ReadExport(file, ';', &blanks);
    EXPECT_EQ(blanks, 0) << file;
  }
}

TEST_F(SmallSampleGame, PlayersCarryWindows1252NamesAtTheirFields) {
  const auto players = ReadExport(Files().players, ';');
  ASSERT_GE(players.records.size(), 10u);
  // The first players' names, spelled in Windows-1252 bytes.
  const std::pair<std::string, std::string> expected[] = {{"Jos\xE9",
                                                           "Pe\xF1"
                                                           "a"},
                                                          {"Hans", "M\xFCller"},
                                                          {"Carlos",
                                                           "Nu\xF1"
                                                           "ez"},
                                                          {"Sean", "O'Neill"},
                                                          {"Tony", "D'Angelo"},
                                                          {"S\xF8ren",
                                                           "\xC5"
                                                           "berg"},
                                                          {"Fran\xE7ois", "Lef\xE8vre"},
                                                          {"Tom\xE1\x9A", "\x8Aimek"},
                                                          {"Jes\xFAs", "Mart\xEDnez"},
                                                          {"Kenji", "Sato"}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& r = players.records[i];
    EXPECT_EQ(r[1], expected[i].first) << "player line " << i;
    EXPECT_EQ(r[2], expected[i].second) << "player line " << i;
  }
}

TEST_F(SmallSampleGame, PlayersExportHasTheFieldsThatTheImportReads) {
  const auto players = ReadExport(Files().players, ';');
  ASSERT_EQ(players.records.size(), 1200u);
  std::set<int> ids;
  std::set<int> teamsWithPlayers;
  int retired = 0, retiredWithTeam = 0, freeAgents = 0, pitchers = 0, switchHitters = 0;
  for (const auto& r : players.records) {
    ASSERT_GE(r.size(), 59u) << "player " << r[0];
    EXPECT_TRUE(ids.insert(ToInt(r[0])).second) << "duplicate id " << r[0];
    EXPECT_FALSE(r[1].empty());
    EXPECT_FALSE(r[2].empty());
    const int nation = ToInt(r[7]);
    EXPECT_TRUE(nation >= 1 && nation <= 220) << nation;
    ASSERT_TRUE(r[11] == "0" || r[11] == "1") << r[11];
    const int team = ToInt(r[15]);
    EXPECT_TRUE(team >= 0 && team <= 30) << team;
    const int hand = ToInt(r[26]);
    EXPECT_TRUE(hand >= 1 && hand <= 3) << hand;
    const int position = ToInt(r[58]);
    EXPECT_TRUE(position >= 1 && position <= 9) << position;
    if (r[11] == "1") {
      ++retired;
      retiredWithTeam += team != 0 ? 1 : 0;
    } else if (team == 0) {
      ++freeAgents;
    } else {
      teamsWithPlayers.insert(team);
    }
    pitchers += position == 1 ? 1 : 0;
    switchHitters += hand == 3 ? 1 : 0;
  }
  // The small preset: a fifth of 1,200 retired, 5 % of the others free agents.
  EXPECT_EQ(retired, 240);
  EXPECT_EQ(freeAgents, 48);
  EXPECT_GT(retiredWithTeam, 0);
  EXPECT_LT(retiredWithTeam, retired);
  EXPECT_EQ(teamsWithPlayers.size(), 30u);
  EXPECT_GT(pitchers, 480);
  EXPECT_LT(pitchers, 720);
  EXPECT_GT(switchHitters, 0);
  EXPECT_LT(switchHitters, 200);
}

TEST_F(SmallSampleGame, LeagueAndTeamsOfTheSmallPreset) {
  const auto leagues = ReadExport(Files().leagues, ';');
  ASSERT_EQ(leagues.records.size(), 1u);
  const auto& league = leagues.records[0];
  ASSERT_GE(league.size(), 34u);
  EXPECT_EQ(league[0], "1");
  EXPECT_LE(league[1].size(), 40u);
  EXPECT_EQ(league[29], "0");
  EXPECT_EQ(league[33], "1");

  const auto teams = ReadExport(Files().teams, ';');
  ASSERT_EQ(teams.records.size(), 30u);
  std::set<std::pair<std::string, std::string>> names;
  int combined = 0, separate = 0, skippedLogos = 0;
  const auto isColor = [](const std::string& s) {
    return s.size() == 7 && s[0] == '#' &&
           s.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
  };
  for (std::size_t k = 0; k < teams.records.size(); ++k) {
    const auto& t = teams.records[k];
    ASSERT_GE(t.size(), 19u);
    EXPECT_EQ(ToInt(t[0]), static_cast<int>(k) + 1) << "teams numbered 1..N in order";
    EXPECT_EQ(t[8], "1");
    EXPECT_EQ(t[12], "1");
    names.insert({t[1], t[3]});
    if (t[17].size() == 16) {
      // Both colours in the first field: characters 1-7 and 10-16, the second field empty.
      EXPECT_TRUE(isColor(t[17].substr(0, 7)) && isColor(t[17].substr(9))) << t[17];
      EXPECT_EQ(t[18], "");
      ++combined;
    } else {
      EXPECT_TRUE(isColor(t[17]) && isColor(t[18])) << t[17] << " " << t[18];
      ++separate;
    }
    const std::string& logo = t[4];
    ASSERT_GE(logo.size(), 5u);
    const fs::path logoFile = Files().images / logo;
    EXPECT_TRUE(fs::exists(logoFile)) << logo;
    if (logo.substr(logo.size() - 4) == ".png") {
      const auto png = ReadPngHeader(logoFile);
      EXPECT_EQ(png.width, 60) << logo;
      EXPECT_EQ(png.height, 60) << logo;
      EXPECT_TRUE(png.colorType == 2 || png.colorType == 6) << logo;
    } else {
      ++skippedLogos;
    }
  }
  EXPECT_GT(combined, 0);
  EXPECT_GT(separate, combined);
  EXPECT_GT(skippedLogos, 0);
  EXPECT_LT(skippedLogos, 5);
  // Names that the custom-uniform lookup knows, two-name cities and their variants among them.
  for (const auto& known : {std::pair<std::string, std::string>{"New York", "Mets"},
                            {"New York (A)", "Yankees"},
                            {"Chicago", "Cubs"},
                            {"Chicago (A)", "White Sox"},
                            {"Los Angeles", "Dodgers"},
                            {"Toronto", "Jays"},
                            {"Oakland", "A's"},
                            {"St. Louis", "Cardinals"}}) {
    EXPECT_TRUE(names.count(known)) << known.first << " " << known.second;
  }
  EXPECT_TRUE(
      names.count({"Montr\xE9"
                   "al",
                   "Expos"}));
}

TEST_F(SmallSampleGame, CareerLinesHaveSplitsZeroCountsAndKnownPlayers) {
  const auto players = ReadExport(Files().players, ';');
  std::set<int> ids;
  for (const auto& r : players.records) ids.insert(ToInt(r[0]));

  struct Expectation {
    fs::path file;
    std::size_t countField;
  };
  for (const auto& [file, countField] : {Expectation{Files().batting, 8}, {Files().pitching, 7}}) {
    const auto lines = ReadExport(file, ';');
    ASSERT_GT(lines.records.size(), 1000u) << file;
    std::set<int> years;
    int otherSplits = 0, zeros = 0, doubleZeros = 0;
    for (const auto& r : lines.records) {
      ASSERT_GE(r.size(), countField + 2) << file;
      EXPECT_TRUE(ids.count(ToInt(r[0]))) << "line of unknown player " << r[0];
      years.insert(ToInt(r[1]));
      const int team = ToInt(r[2]);
      EXPECT_TRUE(team >= 1 && team <= 30) << team;
      otherSplits += r[6] != "1" ? 1 : 0;
      zeros += r[countField] == "0" ? 1 : 0;
      doubleZeros += r[countField] == "00" ? 1 : 0;
      EXPECT_GE(ToInt(r[countField]), 0);
    }
    EXPECT_EQ(years, (std::set<int>{2002, 2003, 2004, 2005, 2006})) << file;
    EXPECT_GT(otherSplits, 0) << file;
    EXPECT_GT(zeros, 0) << file;
    EXPECT_GT(doubleZeros, 0) << file;
  }
}

TEST_F(SmallSampleGame, ExistingPicturesBelongToPlayersOfTheExport) {
  const auto players = ReadExport(Files().players, ';');
  std::set<std::string> ids, names;
  for (const auto& r : players.records) {
    ids.insert(r[0]);
    names.insert(r[1] + "_" + r[2]);
  }
  std::map<std::string, int> kinds;
  for (const auto& entry : fs::directory_iterator(Files().images)) {
    const std::string name = entry.path().filename().string();
    const std::string stem = entry.path().stem().string();
    const std::string ext = entry.path().extension().string();
    if (name == "default_player_photo.jpg") continue;
    if (stem.rfind("Player_", 0) == 0) {
      EXPECT_TRUE(ids.count(stem.substr(7))) << name;
      ++kinds["id" + ext];
      if (ext == ".png") {
        EXPECT_EQ(ReadPngHeader(entry.path()).width, 90) << name;
      }
    } else if (names.count(stem)) {
      ++kinds["name" + ext];
    }
  }
  EXPECT_GT(kinds["id.png"], 0);
  EXPECT_GT(kinds["id.jpg"], 0);
  EXPECT_GT(kinds["name.jpg"], 0);
  EXPECT_GT(kinds["name.png"], 0);
}

TEST_F(SmallSampleGame, NationsTxtIsTheStockListOfNationsCsv) {
  const auto nations = ReadExport(Files().nationsTxt, ',');
  const auto shipped =
      ReadExport(fs::path(LIKENTOR_SOURCE_DIR) / "data" / "nations.csv", ';', nullptr, false);
  ASSERT_EQ(nations.lines.size(), 220u);  // 221 lines with the header
  ASSERT_EQ(shipped.records.size(), 220u);
  for (std::size_t i = 0; i < 220; ++i) {
    const auto& n = nations.records[i];
    const auto& s = shipped.records[i];
    ASSERT_GE(n.size(), 6u);
    ASSERT_GE(s.size(), 9u);
    for (std::size_t field = 0; field < 4; ++field) EXPECT_EQ(n[field], s[field]);
    EXPECT_EQ(n[5], s[8]) << "region code of " << s[1];
    const int region = ToInt(n[5]);
    EXPECT_TRUE(region >= 1 && region <= 6) << s[1];
  }
}

}  // namespace
}  // namespace likentor::test
