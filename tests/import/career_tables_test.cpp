#include "import/career_tables.h"

#include <gtest/gtest.h>

#include "import/import_fixture.h"
#include "import/teams_table.h"
#include "shell/error.h"

namespace likentor {
namespace {

using test::ExportLine;
using test::ReadRows;

// A batting line: player, year, team, split (field 6) and at-bats (field 8) as texts.
std::string Batting(const std::string& player, const std::string& year, const std::string& team,
                    const std::string& split, const std::string& ab) {
  return ExportLine({{0, player}, {1, year}, {2, team}, {6, split}, {8, ab}}, 22);
}

std::string Pitching(const std::string& player, const std::string& year, const std::string& team,
                     const std::string& split, const std::string& ip) {
  return ExportLine({{0, player}, {1, year}, {2, team}, {6, split}, {7, ip}}, 23);
}

// Teams 10 and 35 of the top level, 20 of level 2; ids are not 1..N on purpose.
class CareerTest : public test::ImportFixture {
 protected:
  CareerTest() {
    std::vector<std::string> lines = {"heading"};
    for (const auto& [id, level] : {std::pair{"10", "1"}, {"20", "2"}, {"35", "1"}}) {
      lines.push_back(ExportLine({{0, id}, {1, "Town"}, {3, "Club"}, {12, level}}, 24));
    }
    WriteExport("teams.csv", lines);
    CreateTeamsTable(*db_, saved_);
    UpdateTeamsTable(*db_, log_, programFolder_, saved_, teams_);
  }

  CareerSums ImportBatting() { return CreateBattingTable(*db_, log_, saved_, teams_); }

  Table teams_;
};

TEST_F(CareerTest, KeptLinesFillTheTableAndTheSums) {
  WriteExport("players_career_batting_stats.csv",
              {"heading", Batting("1", "2004", "35", "1", "300"),  // tie with team 10 below
               Batting("1", "2005", "20", "1", "100"),             // team of level 2: dropped
               Batting("1", "2006", "10", "1", "300"),
               Batting("1", "2006", "99", "1", "5"),   // a team the table lacks: kept
               Batting("2", "2005", "10", "2", "50"),  // split 2: dropped
               ExportLine({{0, "2"}, {6, "3"}}, 7),    // split 3, short: nothing else is read
               Batting("3", "2005", "10", "1", "0"),   // count "0": dropped
               Batting("3", "2006", "35", "1", "00"),  // count "00": kept, value 0
               "", Batting("4", "2006", "35", "1", "42"), Batting("4", "2007", "35", "1", "8")});
  const CareerSums sums = ImportBatting();

  const test::Rows rows = ReadRows(*db_, "g_batting.db");
  const test::Rows expected = {
      {1,
       {{"line_id", "1"}, {"player_id", "1"}, {"year", "2004"}, {"team_id", "35"}, {"ab", "300"}}},
      {2,
       {{"line_id", "2"}, {"player_id", "1"}, {"year", "2006"}, {"team_id", "10"}, {"ab", "300"}}},
      {3, {{"line_id", "3"}, {"player_id", "1"}, {"year", "2006"}, {"team_id", "99"}, {"ab", "5"}}},
      {4, {{"line_id", "4"}, {"player_id", "3"}, {"year", "2006"}, {"team_id", "35"}, {"ab", "0"}}},
      {5,
       {{"line_id", "5"}, {"player_id", "4"}, {"year", "2006"}, {"team_id", "35"}, {"ab", "42"}}},
      {6, {{"line_id", "6"}, {"player_id", "4"}, {"year", "2007"}, {"team_id", "35"}, {"ab", "8"}}},
  };
  EXPECT_EQ(rows, expected);

  // 300 for team 35 and 300 for team 10: the lower id wins, whatever the order of the lines.
  EXPECT_EQ(GetCareerAB(sums, 1).total, 605);
  EXPECT_EQ(GetCareerAB(sums, 1).mainTeam, 10);
  EXPECT_EQ(GetCareerAB(sums, 2).total, 0);  // no kept line
  EXPECT_EQ(GetCareerAB(sums, 2).mainTeam, 0);
  EXPECT_EQ(GetCareerAB(sums, 3).total, 0);  // one kept line of 0 at-bats
  EXPECT_EQ(GetCareerAB(sums, 3).mainTeam, 35);
  EXPECT_EQ(GetCareerAB(sums, 4).total, 50);
  EXPECT_EQ(GetCareerAB(sums, 4).mainTeam, 35);
  EXPECT_EQ(GetCareerAB(sums, 5).total, 0);  // unknown player
  EXPECT_EQ(GetCareerAB(sums, 5).mainTeam, 0);
  EXPECT_TRUE(teams_.IsOpen());
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(CareerTest, EveryLoadRebuildsTheTablesAfresh) {
  WriteExport("players_career_batting_stats.csv", {"heading", Batting("1", "2006", "10", "1", "30"),
                                                   Batting("2", "2006", "10", "1", "40")});
  ImportBatting();
  WriteExport("players_career_batting_stats.csv",
              {"heading", Batting("2", "2007", "35", "1", "7")});
  const CareerSums sums = ImportBatting();
  const test::Rows expected = {
      {1,
       {{"line_id", "1"}, {"player_id", "2"}, {"year", "2007"}, {"team_id", "35"}, {"ab", "7"}}}};
  EXPECT_EQ(ReadRows(*db_, "g_batting.db"), expected);
  EXPECT_EQ(GetCareerAB(sums, 1).total, 0);
  EXPECT_EQ(GetCareerAB(sums, 2).total, 7);
  EXPECT_EQ(GetCareerAB(sums, 2).mainTeam, 35);
}

TEST_F(CareerTest, PitchingCountsInningsFromFieldSeven) {
  WriteExport(
      "players_career_pitching_stats.csv",
      {"heading", Pitching("8", "2005", "10", "1", "120"), Pitching("8", "2006", "35", "1", "150"),
       Pitching("8", "2006", "20", "1", "999"), Pitching("9", "2006", "10", "1", "0")});
  const CareerSums sums = CreatePitchingTable(*db_, log_, saved_, teams_);
  const test::Rows expected = {
      {1,
       {{"line_id", "1"}, {"player_id", "8"}, {"year", "2005"}, {"team_id", "10"}, {"ip", "120"}}},
      {2,
       {{"line_id", "2"}, {"player_id", "8"}, {"year", "2006"}, {"team_id", "35"}, {"ip", "150"}}}};
  EXPECT_EQ(ReadRows(*db_, "g_pitching.db"), expected);
  EXPECT_EQ(GetCareerIP(sums, 8).total, 270);
  EXPECT_EQ(GetCareerIP(sums, 8).mainTeam, 35);
  EXPECT_EQ(GetCareerIP(sums, 9).mainTeam, 0);
}

TEST_F(CareerTest, BadLinesEndTheImportNamingFileAndLine) {
  const auto expectFailure = [&](const std::vector<std::string>& lines, const char* message) {
    WriteExport("players_career_batting_stats.csv", lines);
    try {
      ImportBatting();
      ADD_FAILURE() << "no failure for: " << message;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), message);
    }
  };
  expectFailure(
      {"heading", Batting("1", "2006", "10", "1", "30"), ExportLine({{6, "1"}}, 8)},
      "players_career_batting_stats.csv line 3: field 8 is missing (the record has 8 fields)");
  // A failed first import leaves no table.
  EXPECT_FALSE(Reopen().TableExists("g_batting.db"));
  teams_.Open(*db_, "g_teams.db");

  expectFailure(
      {"heading", ExportLine({{0, "1"}}, 6)},
      "players_career_batting_stats.csv line 2: field 6 is missing (the record has 6 fields)");
  expectFailure({"heading", Batting("1", "2006", "ten", "1", "30")},
                "players_career_batting_stats.csv line 2: field 2 is not a whole number ('ten')");
  expectFailure({"heading", Batting("x", "2006", "10", "1", "30")},
                "players_career_batting_stats.csv line 2: field 0 is not a whole number ('x')");
  // The same bad texts on lines that do not count are never read.
  WriteExport("players_career_batting_stats.csv",
              {"heading", Batting("1", "2006", "ten", "2", "30"),
               Batting("x", "2006", "20", "1", "30"), Batting("x", "2006", "10", "1", "0")});
  EXPECT_EQ(GetCareerAB(ImportBatting(), 1).total, 0);

  std::filesystem::remove(saved_.Export("players_career_batting_stats.csv"));
  EXPECT_THROW(ImportBatting(), Error);
}

TEST_F(CareerTest, AnImportThatFailsOrIsStoppedKeepsThePreviousTable) {
  WriteExport("players_career_batting_stats.csv", {"heading", Batting("1", "2006", "10", "1", "30"),
                                                   Batting("2", "2006", "10", "1", "40")});
  ImportBatting();
  const test::Rows before = ReadRows(*db_, "g_batting.db");
  ASSERT_EQ(before.size(), 2u);
  const auto expectKept = [&](const std::string& after) {
    SCOPED_TRACE(after);
    EXPECT_EQ(ReadRows(*db_, "g_batting.db"), before);
    EXPECT_EQ(ReadRows(Reopen(), "g_batting.db"), before);
    teams_.Open(*db_, "g_teams.db");
    // The working table is gone with the failed import.
    for (const auto& entry : std::filesystem::directory_iterator(db_->Folder())) {
      EXPECT_EQ(entry.path().string().find(".working"), std::string::npos) << entry.path();
    }
  };

  // A folder in place of the export.
  const std::filesystem::path file = saved_.Export("players_career_batting_stats.csv");
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  try {
    ImportBatting();
    ADD_FAILURE() << "a folder was read as the export";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot read file " + file.string() + ": it is a folder, not a file.");
  }
  expectKept("a folder");

  // A bad record after good ones.
  std::filesystem::remove(file);
  WriteExport("players_career_batting_stats.csv", {"heading", Batting("3", "2007", "10", "1", "5"),
                                                   Batting("4", "2007", "x", "1", "5")});
  EXPECT_THROW(ImportBatting(), Error);
  expectKept("a bad record");

  // Stopped part way by the one told of the records read.
  std::vector<std::string> lines = {"heading"};
  for (int i = 0; i < 600; ++i) lines.push_back(Batting("5", "2007", "10", "1", "1"));
  WriteExport("players_career_batting_stats.csv", lines);
  std::vector<std::size_t> told;
  const RowsRead stopAt500 = [&told](std::size_t read) {
    told.push_back(read);
    if (read >= 500) throw Error("stopped");
  };
  EXPECT_THROW(CreateBattingTable(*db_, log_, saved_, teams_, stopAt500), Error);
  EXPECT_EQ(told, (std::vector<std::size_t>{250, 500}));
  expectKept("a stop");

  // A whole import replaces the table.
  EXPECT_EQ(
      GetCareerAB(CreateBattingTable(*db_, log_, saved_, teams_, [](std::size_t) {}), 5).total,
      600);
  EXPECT_EQ(ReadRows(Reopen(), "g_batting.db").size(), 600u);
}

TEST(CareerSums, MainTeamIsTheGreatestTotalWithTiesToTheLowestId) {
  CareerSums sums;
  sums.Add(1, 7, 10);
  sums.Add(1, 3, 4);
  sums.Add(1, 3, 6);  // team 3 reaches 10 too: the tie goes to 3
  sums.Add(1, 9, -2);
  EXPECT_EQ(sums.Get(1).total, 18);
  EXPECT_EQ(sums.Get(1).mainTeam, 3);
  sums.Add(2, 0, 5);  // team 0 is a team id like any other here
  sums.Add(2, 4, 4);
  EXPECT_EQ(sums.Get(2).mainTeam, 0);
  EXPECT_EQ(sums.Get(3).mainTeam, 0);
}

}  // namespace
}  // namespace likentor
