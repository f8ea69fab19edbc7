#include "import/players_table.h"

#include <gtest/gtest.h>

#include <set>

#include "database/connection.h"

#include "import/career_tables.h"
#include "import/draw_clock.h"
#include "import/import_fixture.h"
#include "import/players_fields.h"
#include "import/teams_table.h"
#include "portrait/portrait_png.h"
#include "shell/error.h"

namespace likentor {
namespace {

using test::ClockForDraw;
using test::ExportLine;
using test::ReadRows;

struct PlayerFacts {
  std::string id, first, last, nation, retired, team, hand, position;
};

std::string PlayerLine(const PlayerFacts& p) {
  return ExportLine({{0, p.id},
                     {1, p.first},
                     {2, p.last},
                     {7, p.nation},
                     {11, p.retired},
                     {15, p.team},
                     {26, p.hand},
                     {58, p.position}},
                    66);
}

std::string Batting(const std::string& player, const std::string& team, const std::string& ab) {
  return ExportLine({{0, player}, {1, "2006"}, {2, team}, {6, "1"}, {8, ab}}, 22);
}

// A whole-season batting line of team 10 in `year`.
std::string BattingIn(const std::string& player, int year) {
  return ExportLine({{0, player}, {1, std::to_string(year)}, {2, "10"}, {6, "1"}, {8, "100"}}, 22);
}

std::string Pitching(const std::string& player, const std::string& team, const std::string& ip) {
  return ExportLine({{0, player}, {1, "2006"}, {2, team}, {6, "1"}, {7, ip}}, 23);
}

class PlayersTest : public test::ImportFixture {
 protected:
  PlayersTest() : looks_(*db_) {
    WriteExport("teams.csv",
                {"heading", ExportLine({{0, "10"}, {1, "Town"}, {3, "Club"}, {12, "1"}}, 24),
                 ExportLine({{0, "20"}, {1, "City"}, {3, "Nine"}, {12, "1"}}, 24)});
    CreateTeamsTable(*db_, saved_);
    UpdateTeamsTable(*db_, log_, programFolder_, saved_, teams_);
    CreatePlayersTable(*db_, saved_);
  }

  // Queues the four draws of one new caucasian player (nation 1, 100 faces, facial hair 50/30/20).
  void QueueCaucasian(std::uint32_t face, std::uint32_t hairDraw, std::uint32_t facialHairDraw) {
    looks_.Queue(ClockForDraw(0, 100));    // ethnicity: weights 100/0/0/0
    looks_.Queue(ClockForDraw(face, 99));  // face below 99
    looks_.Queue(ClockForDraw(hairDraw, 2));
    looks_.Queue(ClockForDraw(facialHairDraw, 100));
  }
  // An african player (nation 2, 10 faces): no hair colour draw.
  void QueueAfrican(std::uint32_t face, std::uint32_t facialHairDraw) {
    looks_.Queue(ClockForDraw(99, 100));
    looks_.Queue(ClockForDraw(face, 9));
    looks_.Queue(ClockForDraw(facialHairDraw, 100));
  }

  void Load() {
    const CareerSums batting = CreateBattingTable(*db_, log_, saved_, teams_);
    const CareerSums pitching = CreatePitchingTable(*db_, log_, saved_, teams_);
    UpdatePlayersTable(*db_, log_, saved_, batting, pitching, looks_.Draws());
  }

  void LoadAging(bool playersAge) {
    const CareerSums batting = CreateBattingTable(*db_, log_, saved_, teams_);
    const CareerSums pitching = CreatePitchingTable(*db_, log_, saved_, teams_);
    UpdatePlayersTable(*db_, log_, saved_, batting, pitching, looks_.Draws(), false, {},
                       playersAge);
  }

  void SetFlags(int playerId, bool updateRequired, bool locked) {
    Table t(*db_, "g_players.db");
    ASSERT_TRUE(t.Locate(kPlayerIdField, playerId));
    t.Edit();
    t.SetBool(kUpdateRequiredField, updateRequired);
    t.SetBool(kLockedField, locked);
    ASSERT_TRUE(t.Post());
  }

  Table teams_;
  test::LooksFixture looks_;
};

using Row = std::map<std::string, std::string>;

TEST_F(PlayersTest, NewPlayersGetTheExportsFactsTheirCareerALockAndALook) {
  // Names written by the game in Windows-1252; the picture on disk spelled in UTF-8.
  WriteExport(
      "players.csv",
      {"heading", PlayerLine({"101", "Jos\xE9", "N\xFA\xF1\x65z", "1", "1", "10", "2", "1"}),
       PlayerLine({"102", "Ray", "Ortiz", "2", "01", "20", "1", "6"}), "  ",
       PlayerLine({"103", "Al", "Bee", "1", "0", "0", "1", "3"})});
  WriteExport("players_career_batting_stats.csv",
              {"heading", Batting("101", "10", "3"), Batting("102", "20", "250"),
               Batting("102", "10", "120"), Batting("102", "99", "200")});
  WriteExport("players_career_pitching_stats.csv",
              {"heading", Pitching("101", "20", "90"), Pitching("101", "10", "80"),
               Pitching("101", "10", "15")});
  test::WriteBytes(Pictures() / "Jos\xC3\xA9_N\xC3\xBA\xC3\xB1\x65z.jpg", "jpeg");
  test::WriteBytes(Pictures() / "Player_102.png", "png");
  test::WriteBytes(Pictures() / "Player_103.gif", "gif");  // not one of the four names
  test::WriteBytes(Pictures() / "Al_Bee.bmp", "bmp");

  QueueCaucasian(0, 1, 51);        // face 1, blonde, facial hair 2
  QueueAfrican(8, 0);              // face 8, no facial hair
  QueueCaucasian(42, 0, 100 - 1);  // face 42, brown, facial hair 3
  Load();
  EXPECT_EQ(looks_.ClockValuesLeft(), 0u);
  EXPECT_EQ(looks_.Reseeds(), 11);

  const test::Rows rows = ReadRows(*db_, "g_players.db");
  ASSERT_EQ(rows.size(), 3u);
  // Every column by the name the file stores it under, written out here rather than taken from
  // the field constants: tables made by earlier versions are read by these names.
  EXPECT_EQ(rows.at(101), (Row{{"player_id", "101"},
                               {"first_name", "Jos\xC3\xA9"},
                               {"last_name", "N\xC3\xBA\xC3\xB1\x65z"},
                               {"nation_id", "1"},
                               {"retired", "true"},
                               {"team_id", "10"},
                               {"position", "1"},
                               {"ethnicity", "1"},
                               {"background", "0"},
                               {"face", "1"},
                               {"uniform_team_id", "0"},
                               {"hair_color", "2"},
                               {"hair_style", "0"},
                               {"facial_hair_style", "2"},
                               {"accessory", "0"},
                               {"career_ab", "0"},
                               {"career_ip", "185"},
                               {"locked", "true"},
                               {"update_required", "true"},
                               {"retired_as_team", "10"},
                               {"hand", "2"},
                               {"career_seasons", "1"},
                               {"age_step", ""}}));
  // "01" is not "1": not retired. At-bats 250 for team 20, 120 + 200 for teams 10 and 99.
  EXPECT_EQ(rows.at(102), (Row{{"player_id", "102"},
                               {"first_name", "Ray"},
                               {"last_name", "Ortiz"},
                               {"nation_id", "2"},
                               {"retired", "false"},
                               {"team_id", "20"},
                               {"position", "6"},
                               {"ethnicity", "3"},
                               {"background", "0"},
                               {"face", "8"},
                               {"uniform_team_id", "0"},
                               {"hair_color", "1"},
                               {"hair_style", "0"},
                               {"facial_hair_style", "0"},
                               {"accessory", "0"},
                               {"career_ab", "570"},
                               {"career_ip", "0"},
                               {"locked", "true"},
                               {"update_required", "true"},
                               {"retired_as_team", "20"},
                               {"hand", "1"},
                               {"career_seasons", "1"},
                               {"age_step", ""}}));
  EXPECT_EQ(rows.at(103).at("career_ab"), "0");
  EXPECT_EQ(rows.at(103).at("career_ip"), "0");
  EXPECT_EQ(rows.at(103).at("retired_as_team"), "0");
  EXPECT_EQ(rows.at(103).at("locked"), "false");
  EXPECT_EQ(rows.at(103).at("face"), "42");
  EXPECT_EQ(rows.at(103).at("hair_color"), "1");
  EXPECT_EQ(rows.at(103).at("facial_hair_style"), "3");
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(PlayersTest, OnlyPicturesOfTheUsersOwnLockANewPlayer) {
  // A game that already holds portraits of ours, loaded into fresh tables: they lock nobody, any
  // other picture under one of the four names does.
  WriteExport("players.csv",
              {"heading", PlayerLine({"1", "Our", "Portrait", "1", "0", "10", "1", "4"}),
               PlayerLine({"2", "Own", "Png", "1", "0", "10", "1", "4"}),
               PlayerLine({"3", "Both", "Kinds", "1", "0", "10", "1", "4"}),
               PlayerLine({"4", "Named", "Ours", "1", "0", "10", "1", "4"})});
  WriteExport("players_career_batting_stats.csv", {"heading"});
  WriteExport("players_career_pitching_stats.csv", {"heading"});
  PngImage picture(90, 135, false);
  picture.SetPixel(1, 1, Rgb{9, 9, 9});
  SavePortraitPng(picture, Pictures() / "Player_1.png");
  picture.Save(Pictures() / "Player_2.png");  // a PNG of another program
  SavePortraitPng(picture, Pictures() / "Player_3.png");
  test::WriteBytes(Pictures() / "Both_Kinds.jpg", "jpeg");
  SavePortraitPng(picture, Pictures() / "Named_Ours.png");
  for (int i = 0; i < 4; ++i) QueueCaucasian(10 + i, 0, 1);
  Load();

  const test::Rows rows = ReadRows(*db_, "g_players.db");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows.at(1).at("locked"), "false");
  EXPECT_EQ(rows.at(2).at("locked"), "true");
  EXPECT_EQ(rows.at(3).at("locked"), "true");
  EXPECT_EQ(rows.at(4).at("locked"), "false");
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(PlayersTest, APictureLocksUnderItsExactNameWhereverTheNameLeads) {
  // The folder's names are read once per load; a name is still found as the file system finds it:
  // in its exact case on a folder that tells case, in another folder when the name leads there,
  // and with characters beyond ASCII.
  WriteExport("players.csv",
              {"heading", PlayerLine({"1", "Exact", "Case", "1", "0", "10", "1", "4"}),
               PlayerLine({"2", "Other", "Case", "1", "0", "10", "1", "4"}),
               PlayerLine({"3", "Sub/Folder", "Name", "1", "0", "10", "1", "4"}),
               PlayerLine({"4", "Jos\xC3\xA9",
                           "Pe\xC3\xB1"
                           "a",
                           "1", "0", "10", "1", "4"}),
               PlayerLine({"5", "No", "Picture", "1", "0", "10", "1", "4"}),
               PlayerLine({"6", "Exact", "Case", "1", "0", "20", "1", "4"})});
  WriteExport("players_career_batting_stats.csv", {"heading"});
  WriteExport("players_career_pitching_stats.csv", {"heading"});
  test::WriteBytes(Pictures() / "Exact_Case.jpg", "jpeg");
  test::WriteBytes(Pictures() / "other_case.jpg", "jpeg");
  std::filesystem::create_directories(Pictures() / "Sub");
  test::WriteBytes(Pictures() / "Sub" / "Folder_Name.png", "png");
  test::WriteBytes(Pictures() /
                       "Jos\xC3\xA9_Pe\xC3\xB1"
                       "a.jpg",
                   "jpeg");
  test::WriteBytes(Pictures() / "Player_55.jpg", "jpeg");
  for (int i = 0; i < 6; ++i) QueueCaucasian(10 + i, 0, 1);
  Load();

  const test::Rows rows = ReadRows(*db_, "g_players.db");
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows.at(1).at("locked"), "true");
  // A folder that ignores case finds the picture of player 2; this one tells case.
  EXPECT_EQ(rows.at(2).at("locked"),
            std::filesystem::exists(Pictures() / "Other_Case.jpg") ? "true" : "false");
  EXPECT_EQ(rows.at(3).at("locked"), "true");
  EXPECT_EQ(rows.at(4).at("locked"), "true");
  EXPECT_EQ(rows.at(5).at("locked"), "false");
  // A name is looked at once per load; the next player of that name is locked as well.
  EXPECT_EQ(rows.at(6).at("locked"), "true");
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(PlayersTest, APictureFolderThatCannotBeReadStopsTheLoad) {
  WriteExport("players.csv",
              {"heading", PlayerLine({"1", "Has", "Photo", "1", "0", "10", "1", "4"})});
  WriteExport("players_career_batting_stats.csv", {"heading"});
  WriteExport("players_career_pitching_stats.csv", {"heading"});
  std::filesystem::remove_all(Pictures());
  test::WriteBytes(Pictures(), "not a folder");
  try {
    Load();
    FAIL() << "the load went on";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read the picture folder \"" + Pictures().string() +
                                         "\": it is not a folder.");
  }
  EXPECT_TRUE(ReadRows(*db_, "g_players.db").empty());

  // A game without a picture folder has no photos yet: nobody is locked.
  std::filesystem::remove(Pictures());
  QueueCaucasian(10, 0, 1);
  Load();
  EXPECT_EQ(ReadRows(*db_, "g_players.db").at(1).at("locked"), "false");
}

TEST_F(PlayersTest, KnownPlayersKeepLookAndLockAndAreFlaggedOnlyWhenTheyMove) {
  WriteExport("players.csv", {"heading", PlayerLine({"1", "Stay", "Put", "1", "0", "10", "1", "1"}),
                              PlayerLine({"2", "Moves", "Away", "1", "0", "20", "1", "4"}),
                              PlayerLine({"3", "Goes", "Free", "1", "0", "10", "1", "4"}),
                              PlayerLine({"4", "Left", "Out", "1", "0", "10", "2", "5"})});
  WriteExport("players_career_batting_stats.csv", {"heading", Batting("1", "10", "40")});
  WriteExport("players_career_pitching_stats.csv", {"heading", Pitching("1", "10", "60")});
  for (int i = 0; i < 4; ++i) QueueCaucasian(10 + i, 0, 1);
  Load();
  const test::Rows first = ReadRows(*db_, "g_players.db");
  // Portraits were made (flag cleared); players 1 and 3 were locked by hand.
  for (int id = 1; id <= 4; ++id) SetFlags(id, false, id % 2 == 1);

  // Player 1 became a position player and changed nation; 2 moved; 3 went to no team; 4 is gone
  // from the export; 5 is new.
  WriteExport("players.csv",
              {"heading", PlayerLine({"1", "Stay", "Putt", "2", "1", "10", "2", "7"}),
               PlayerLine({"2", "Moves", "Away", "1", "0", "10", "1", "4"}),
               PlayerLine({"3", "Goes", "Free", "1", "0", "0", "1", "4"}),
               PlayerLine({"5", "New", "Kid", "2", "0", "20", "1", "2"})});
  WriteExport(
      "players_career_batting_stats.csv",
      {"heading", Batting("1", "10", "40"), Batting("1", "20", "45"), Batting("3", "20", "9")});
  QueueAfrican(3, 0);
  Load();
  EXPECT_EQ(looks_.ClockValuesLeft(), 0u);

  const test::Rows rows = ReadRows(*db_, "g_players.db");
  ASSERT_EQ(rows.size(), 5u);
  Row expected1 = first.at(1);
  expected1["last_name"] = "Putt";
  expected1["nation_id"] = "2";
  expected1["retired"] = "true";
  expected1["position"] = "7";
  expected1["hand"] = "2";
  expected1["career_ab"] = "85";
  expected1["career_ip"] = "0";
  expected1["retired_as_team"] = "20";
  expected1["update_required"] = "false";  // same team: still done
  expected1["locked"] = "true";            // lock kept
  EXPECT_EQ(rows.at(1), expected1);        // ethnicity, face and the rest of the look kept

  EXPECT_EQ(rows.at(2).at("team_id"), "10");
  EXPECT_EQ(rows.at(2).at("update_required"), "true");
  EXPECT_EQ(rows.at(2).at("locked"), "false");

  EXPECT_EQ(rows.at(3).at("team_id"), "0");
  EXPECT_EQ(rows.at(3).at("update_required"), "false");  // a move to no team sets no flag
  EXPECT_EQ(rows.at(3).at("career_ab"), "9");
  EXPECT_EQ(rows.at(3).at("retired_as_team"), "20");

  Row expected4 = first.at(4);
  expected4["update_required"] = "false";
  EXPECT_EQ(rows.at(4), expected4);  // missing from the export: unchanged

  EXPECT_EQ(rows.at(5).at("ethnicity"), "3");
  EXPECT_EQ(rows.at(5).at("face"), "3");
  EXPECT_EQ(rows.at(5).at("update_required"), "true");
}

TEST_F(PlayersTest, OnlyAPlayerWhoseAgeStepChangedSinceHisLastPortraitIsFlaggedAtLoad) {
  // Careers up to 2017: a rookie (1 season), a veteran (12), and players of 4, 7 and 8 seasons;
  // player 6 has no career line, player 7 only pitched (from 2010: 8 seasons).
  const std::pair<int, int> firstSeasons[] = {
      {1, 2017}, {2, 2006}, {3, 2014}, {4, 2011}, {5, 2010}};
  std::vector<std::string> players = {"heading"};
  std::vector<std::string> batting = {"heading"};
  for (int id = 1; id <= 7; ++id) {
    players.push_back(PlayerLine(
        {std::to_string(id), "P", std::to_string(id), "1", "0", "10", "1", id == 7 ? "1" : "4"}));
  }
  for (const auto& [id, first] : firstSeasons) {
    for (int year = first; year <= 2017; ++year)
      batting.push_back(BattingIn(std::to_string(id), year));
  }
  WriteExport("players.csv", players);
  WriteExport("players_career_batting_stats.csv", batting);
  WriteExport("players_career_pitching_stats.csv",
              {"heading", ExportLine({{0, "7"}, {1, "2010"}, {2, "10"}, {6, "1"}, {7, "50"}}, 23)});
  for (int i = 0; i < 7; ++i) QueueCaucasian(10 + i, 0, 1);
  LoadAging(true);
  test::Rows rows = ReadRows(*db_, "g_players.db");
  const std::map<int, std::string> seasons = {{1, "1"}, {2, "12"}, {3, "4"}, {4, "7"},
                                              {5, "8"}, {6, "0"},  {7, "8"}};
  for (const auto& [id, count] : seasons) {
    EXPECT_EQ(rows.at(id).at("career_seasons"), count) << id;
    EXPECT_EQ(rows.at(id).at("update_required"), "true") << id;  // new: due anyway
  }

  // Portraits made at the steps the setting gave: 0, 3, 1, 1, 2, 0, 2.
  const std::map<int, int> steps = {{1, 0}, {2, 3}, {3, 1}, {4, 1}, {5, 2}, {6, 0}, {7, 2}};
  const auto photographed = [this, &steps] {
    Table t(*db_, "g_players.db");
    for (const auto& [id, step] : steps) {
      ASSERT_TRUE(t.Locate(kPlayerIdField, id));
      t.Edit();
      t.SetBool(kUpdateRequiredField, false);
      t.SetInt(kAgeStepField, step);
      ASSERT_TRUE(t.Post());
    }
  };
  photographed();
  const auto flagged = [this] {
    std::set<int> ids;
    for (const auto& [id, row] : ReadRows(*db_, "g_players.db")) {
      if (row.at("update_required") == "true") ids.insert(id);
    }
    return ids;
  };
  // The same season loaded again: nobody aged.
  LoadAging(true);
  EXPECT_EQ(flagged(), std::set<int>{});

  // A season later: player 4 reaches 8 seasons (step 2); the others stay on their steps.
  for (const auto& [id, first] : firstSeasons)
    batting.push_back(BattingIn(std::to_string(id), 2018));
  WriteExport("players_career_batting_stats.csv", batting);
  LoadAging(true);
  EXPECT_EQ(flagged(), std::set<int>{4});
  EXPECT_EQ(ReadRows(*db_, "g_players.db").at(4).at("career_seasons"), "8");

  // With the setting off every portrait shows step 0: those made older are due again, the rest
  // are not.
  photographed();
  LoadAging(false);
  EXPECT_EQ(flagged(), (std::set<int>{2, 3, 4, 5, 7}));
}

TEST_F(PlayersTest, APlayersTableOfAnEarlierVersionGetsTheAgingFields) {
  WriteExport("players.csv",
              {"heading", PlayerLine({"1", "Old", "Hand", "1", "0", "10", "1", "4"})});
  WriteExport("players_career_batting_stats.csv",
              {"heading", BattingIn("1", 2010), BattingIn("1", 2015)});
  WriteExport("players_career_pitching_stats.csv", {"heading"});
  {
    Connection& c = db_->ConnectionFor("g_players.db");
    c.Execute("ALTER TABLE " + c.QuotedTable() + " DROP COLUMN \"age_step\"");
    c.Execute("ALTER TABLE " + c.QuotedTable() + " DROP COLUMN \"career_seasons\"");
    db_->Release("g_players.db");
  }
  AddMissingPlayersFields(*db_, saved_);
  AddMissingPlayersFields(*db_, saved_);  // nothing the second time
  QueueCaucasian(5, 0, 1);
  LoadAging(true);
  const test::Rows rows = ReadRows(*db_, "g_players.db");
  EXPECT_EQ(rows.at(1).at("career_seasons"), "6");
  EXPECT_EQ(rows.at(1).at("age_step"), "");
}

TEST_F(PlayersTest, RefusedNewPlayersAreLoggedAndComeBackAsNew) {
  WriteExport("players_career_batting_stats.csv", {"heading"});
  WriteExport("players_career_pitching_stats.csv", {"heading"});
  WriteExport("players.csv",
              {"heading", PlayerLine({"1", "\"\"", "Blank", "1", "0", "10", "1", "4"}),
               PlayerLine({"2", "Ok", "Fine", "1", "0", "10", "1", "4"})});
  Load();
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Error appending record in players table."});
  EXPECT_EQ(ReadRows(*db_, "g_players.db").count(1), 0u);

  // Known player 2 refused (a blank last name); player 1 now new and accepted.
  WriteExport("players.csv",
              {"heading", PlayerLine({"1", "Now", "Named", "1", "0", "10", "1", "4"}),
               PlayerLine({"2", "Ok", "\"\"", "1", "0", "10", "1", "4"})});
  Load();
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Error appending record in players table.",
                                                  "Error posting record in players table."}));
  const test::Rows rows = ReadRows(*db_, "g_players.db");
  EXPECT_EQ(rows.at(1).at("first_name"), "Now");
  EXPECT_EQ(rows.at(2).at("last_name"), "Fine");
}

TEST_F(PlayersTest, ABadRecordEndsTheImportWithTheTableAsItWas) {
  WriteExport("players_career_batting_stats.csv", {"heading"});
  WriteExport("players_career_pitching_stats.csv", {"heading"});
  WriteExport("players.csv", {"heading", PlayerLine({"1", "Ok", "Fine", "1", "0", "10", "1", "4"}),
                              PlayerLine({"2", "Bad", "Pos", "1", "0", "10", "1", "x"}),
                              PlayerLine({"3", "Not", "Read", "1", "0", "10", "1", "4"})});
  try {
    Load();
    FAIL() << "the bad position was accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "players.csv line 3: field 58 is not a whole number ('x')");
  }
  // Not even the record before it went in.
  EXPECT_TRUE(ReadRows(*db_, "g_players.db").empty());
  EXPECT_TRUE(ReadRows(Reopen(), "g_players.db").empty());

  WriteExport("players.csv", {"heading", ExportLine({{0, "4"}}, 58)});
  teams_.Open(*db_, "g_teams.db");
  try {
    Load();
    FAIL() << "the short record was accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "players.csv line 2: field 58 is missing (the record has 58 fields)");
  }
}

}  // namespace
}  // namespace likentor
