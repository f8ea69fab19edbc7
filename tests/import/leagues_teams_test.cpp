#include <gtest/gtest.h>

#include "import/import_fixture.h"
#include "import/leagues_table.h"
#include "import/teams_table.h"
#include "shell/error.h"

namespace likentor {
namespace {

using test::ExportLine;
using test::ReadRows;

std::string League(const std::string& id, const std::string& name, const std::string& abbr,
                   const std::string& nation, const std::string& logo, const std::string& parent,
                   const std::string& level) {
  return ExportLine(
      {{0, id}, {1, name}, {2, abbr}, {3, nation}, {7, logo}, {29, parent}, {33, level}}, 38);
}

std::string Team(const std::string& id, const std::string& name, const std::string& nickname,
                 const std::string& league, const std::string& level, const std::string& color1,
                 const std::string& color2) {
  return ExportLine({{0, id},
                     {1, name},
                     {2, name.substr(0, 3)},
                     {3, nickname},
                     {4, "logo_" + id + ".png"},
                     {8, league},
                     {12, level},
                     {17, color1},
                     {18, color2}},
                    24);
}

class LeaguesTest : public test::ImportFixture {
 protected:
  void Import() { UpdateLeaguesTable(*db_, log_, saved_, leagues_); }
  Table leagues_;
};

TEST_F(LeaguesTest, FirstImportStoresTheSevenFieldsAndOpensTheTable) {
  const std::string longName(45, 'L');
  WriteExport("leagues.csv", {"heading", League("1", "Major League", "ML", "5", "ml.png", "0", "1"),
                              League("7", longName, "AAA League X", "5", "aaa.png", "1", "3")});
  CreateLeaguesTable(*db_, saved_);
  Import();

  EXPECT_TRUE(leagues_.IsOpen());
  EXPECT_EQ(leagues_.TableName(), "g_leagues.db");
  const test::Rows rows = ReadRows(*db_, "g_leagues.db");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows.at(1), (std::map<std::string, std::string>{{"league_id", "1"},
                                                            {"league_name", "Major League"},
                                                            {"abbreviation", "ML"},
                                                            {"nation_id", "5"},
                                                            {"logo_file", "ml.png"},
                                                            {"parent_league_id", "0"},
                                                            {"league_level", "1"}}));
  EXPECT_EQ(rows.at(7).at("league_name"), std::string(40, 'L'));  // cut to the field's size
  EXPECT_EQ(rows.at(7).at("abbreviation"), "AAA League");
  EXPECT_EQ(rows.at(7).at("league_level"), "3");
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(LeaguesTest, ReimportMergesByKeyAndPassesOverBlankLines) {
  CreateLeaguesTable(*db_, saved_);
  WriteExport("leagues.csv", {"heading", League("1", "Major League", "ML", "5", "ml.png", "0", "1"),
                              League("2", "Minor League", "MI", "5", "mi.png", "1", "2")});
  Import();
  // League 1 renamed and moved, league 2 gone from the export, league 3 new; blank lines between.
  WriteExport("leagues.csv",
              {"heading", "", League("3", "New League", "NL", "6", "nl.png", "1", "4"), "   \t",
               League("1", "Grand League", "GL", "9", "gl.png", "0", "1"), ""});
  Import();

  const test::Rows rows = ReadRows(*db_, "g_leagues.db");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows.at(1).at("league_name"), "Grand League");
  EXPECT_EQ(rows.at(1).at("abbreviation"), "GL");
  EXPECT_EQ(rows.at(1).at("nation_id"), "9");
  EXPECT_EQ(rows.at(1).at("logo_file"), "gl.png");
  EXPECT_EQ(rows.at(2).at("league_name"), "Minor League");  // kept unchanged
  EXPECT_EQ(rows.at(2).at("league_level"), "2");
  EXPECT_EQ(rows.at(3).at("league_name"), "New League");
  EXPECT_EQ(rows.at(3).at("league_level"), "4");

  // An export of its heading only changes nothing and still opens the table.
  WriteExport("leagues.csv", {"heading"});
  leagues_.Close();
  Import();
  EXPECT_TRUE(leagues_.IsOpen());
  EXPECT_EQ(ReadRows(*db_, "g_leagues.db"), rows);
}

TEST_F(LeaguesTest, ARefusedRowIsLoggedByNameAndTheImportGoesOn) {
  CreateLeaguesTable(*db_, saved_);
  // A quoted empty name: the required field is blank, so the store refuses the row.
  WriteExport("leagues.csv", {"heading", League("1", "\"\"", "ML", "5", "ml.png", "0", "1"),
                              League("2", "Minor League", "MI", "5", "mi.png", "1", "2")});
  Import();
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Error posting record  to g_leagues.db"});
  const test::Rows rows = ReadRows(*db_, "g_leagues.db");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.at(2).at("league_name"), "Minor League");
}

TEST_F(LeaguesTest, AShortRecordEndsTheImportNamingFileAndLineAndTheTableAsItWas) {
  CreateLeaguesTable(*db_, saved_);
  WriteExport("leagues.csv", {"heading", League("1", "Major League", "ML", "5", "ml.png", "0", "1"),
                              ExportLine({{0, "2"}, {1, "Short"}}, 20),
                              League("3", "Never", "NV", "5", "nv.png", "0", "1")});
  try {
    Import();
    FAIL() << "the short record was accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "leagues.csv line 3: field 29 is missing (the record has 20 fields)");
  }
  EXPECT_FALSE(leagues_.IsOpen());
  // Not even the record before it went in.
  EXPECT_TRUE(ReadRows(*db_, "g_leagues.db").empty());
  EXPECT_TRUE(ReadRows(Reopen(), "g_leagues.db").empty());

  WriteExport("leagues.csv", {"heading", League("4", "Bad", "BD", "five", "b.png", "0", "1")});
  EXPECT_THROW(
      {
        try {
          Import();
        } catch (const Error& e) {
          EXPECT_STREQ(e.what(), "leagues.csv line 2: field 3 is not a whole number ('five')");
          throw;
        }
      },
      Error);

  std::filesystem::remove(saved_.Export("leagues.csv"));
  EXPECT_THROW(Import(), Error);
}

class TeamsTest : public test::ImportFixture {
 protected:
  void Import() { UpdateTeamsTable(*db_, log_, programFolder_, saved_, teams_); }
  Table teams_;
};

TEST_F(TeamsTest, NewTeamsGetEveryColumnAndTheirCustomUniformOnce) {
  CreateTeamsTable(*db_, saved_);
  WriteExport("teams.csv",
              {"heading", Team("3", "Boston", "Red Sox", "1", "1", "#BD3039", "#0C2340"),
               Team("12", "Springfield", "Isotopes", "4", "2", "#112233, #445566", "x")});
  Import();
  EXPECT_TRUE(teams_.IsOpen());
  EXPECT_EQ(teams_.TableName(), "g_teams.db");

  const test::Rows rows = ReadRows(*db_, "g_teams.db");
  ASSERT_EQ(rows.size(), 2u);
  const std::string bostonUniform =
      (programFolder_ / "graphics" / "uniforms" / "custom" / "MLB" / "Red Sox_home.png").string();
  EXPECT_EQ(rows.at(3),
            (std::map<std::string, std::string>{{"team_id", "3"},
                                                {"team_name", "Boston"},
                                                {"abbreviation", "Bos"},
                                                {"nickname", "Red Sox"},
                                                {"logo_file", "logo_3.png"},
                                                {"league_id", "1"},
                                                {"level", "1"},
                                                {"background_color_id", "#BD3039"},
                                                {"text_color_id", "#0C2340"},
                                                {"custom_uniform_file", bostonUniform}}));
  // Both colours in the first field: its first seven characters, and from the tenth on.
  EXPECT_EQ(rows.at(12).at("background_color_id"), "#112233");
  EXPECT_EQ(rows.at(12).at("text_color_id"), "#445566");
  EXPECT_EQ(rows.at(12).at("custom_uniform_file"), "none");
  EXPECT_EQ(rows.at(12).at("level"), "2");
}

TEST_F(TeamsTest, KnownTeamsFollowTheExportButKeepTheirCustomUniform) {
  CreateTeamsTable(*db_, saved_);
  WriteExport("teams.csv",
              {"heading", Team("3", "Boston", "Red Sox", "1", "1", "#BD3039", "#0C2340"),
               Team("5", "Dayton", "Dragons", "4", "2", "#000000", "#FFFFFF")});
  Import();
  {
    // The custom-uniforms page gave team 5 a picture.
    Table t(*db_, "g_teams.db");
    ASSERT_TRUE(t.Locate("team_id", 5));
    t.Edit();
    t.SetText("custom_uniform_file", "/pictures/dragons.png");
    ASSERT_TRUE(t.Post());
  }
  // Team 5 renamed, moved to league 1 at level 1, new colours; team 3 missing; team 8 new.
  WriteExport("teams.csv",
              {"heading", Team("5", "Boston", "Red Sox", "1", "1", "#010203", "#040506"),
               Team("8", "Erie", "SeaWolves", "4", "3", "#0000AA", "#AA0000")});
  Import();
  Import();  // again: nothing changes the second time

  const test::Rows rows = ReadRows(*db_, "g_teams.db");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows.at(3).at("team_name"), "Boston");  // unchanged
  EXPECT_EQ(rows.at(5).at("team_name"), "Boston");
  EXPECT_EQ(rows.at(5).at("nickname"), "Red Sox");
  EXPECT_EQ(rows.at(5).at("league_id"), "1");
  EXPECT_EQ(rows.at(5).at("level"), "1");
  EXPECT_EQ(rows.at(5).at("background_color_id"), "#010203");
  EXPECT_EQ(rows.at(5).at("text_color_id"), "#040506");
  EXPECT_EQ(rows.at(5).at("custom_uniform_file"), "/pictures/dragons.png");
  EXPECT_EQ(rows.at(8).at("custom_uniform_file"), "none");
}

TEST_F(TeamsTest, RefusedRowsAreLoggedAndBadRecordsEndTheImportWithTheTableAsItWas) {
  CreateTeamsTable(*db_, saved_);
  const std::vector<std::string> lines = {
      "heading", Team("3", "Boston", "\"\"", "1", "1", "#BD3039", "#0C2340"),
      Team("4", "Dayton", "Dragons", "4", "2", "#000000", "#FFFFFF")};
  WriteExport("teams.csv", lines);
  Import();
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Error posting record Boston in g_teams.db"});
  const test::Rows rows = ReadRows(Reopen(), "g_teams.db");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.at(4).at("nickname"), "Dragons");

  std::vector<std::string> bad = lines;
  bad[2] = Team("4", "Dayton", "Flyers", "4", "2", "#000000", "#FFFFFF");
  bad.push_back(Team("5", "Erie", "Otters", "4", "2", "#000000", "#FFFFFF"));
  bad.push_back(ExportLine({{0, "6"}, {1, "Erie"}, {3, "SeaWolves"}}, 18));
  WriteExport("teams.csv", bad);
  try {
    Import();
    FAIL() << "the short record was accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "teams.csv line 5: field 18 is missing (the record has 18 fields)");
  }
  // Neither the change of Dayton nor the new Erie went in.
  EXPECT_EQ(ReadRows(*db_, "g_teams.db"), rows);
  EXPECT_EQ(ReadRows(Reopen(), "g_teams.db"), rows);
}

}  // namespace
}  // namespace likentor
