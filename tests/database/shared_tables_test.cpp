// The shared tables built at setup: games settings, nations, facial hair, faces, accessories.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "database/accessories_table.h"
#include "database/face_tables.h"
#include "database/facial_hair_table.h"
#include "database/games_table.h"
#include "database/nations_table.h"
#include "database/table_store.h"
#include "shell/error_log.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class SharedTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(program() / "data");
    fs::create_directories(game());
    log_.CreateErrorFile();
  }
  fs::path program() const { return temp_.Path() / "program"; }
  fs::path game() const { return temp_.Path() / "game"; }
  std::vector<std::string> LoggedErrors() {
    auto lines = log_.ShowErrors();
    lines.erase(lines.begin());  // header
    return lines;
  }

  TempFolder temp_;
  ErrorLog log_{temp_.Path() / "program"};
  Database db_{temp_.Path() / "program" / "data"};
};

TEST(AddZeros, PadsToWidthAndNeverCuts) {
  EXPECT_EQ(AddZeros(42, 7), "0000042");
  EXPECT_EQ(AddZeros(1234567, 7), "1234567");
  EXPECT_EQ(AddZeros(12345678, 7), "12345678");
  EXPECT_EQ(AddZeros(3, 2), "03");
  EXPECT_EQ(AddZeros(25, 2), "25");
  EXPECT_EQ(AddZeros(1, 5), "00001");
}

TEST_F(SharedTablesTest, AccessoriesHoldTheFourFixedRows) {
  AccessoryPictures pictures;
  for (int i = 1; i <= 4; ++i) {
    pictures[static_cast<std::size_t>(i - 1)] =
        program() / "graphics" / "accessories" / ("0000" + std::to_string(i) + ".png");
  }
  CreateAccessoriesTable(db_, log_, program(), pictures);
  Table t(db_, kAccessoriesTable);
  ASSERT_EQ(t.RecordCount(), 4);
  // id, pitcher, batter, lefty, righty
  const bool expected[4][4] = {{false, true, false, true},
                               {false, true, true, false},
                               {true, false, false, true},
                               {true, false, true, false}};
  t.First();
  for (int i = 1; i <= 4; ++i, t.Next()) {
    ASSERT_FALSE(t.Eof());
    EXPECT_EQ(t.GetInt("accessory_id"), i);
    EXPECT_EQ(
        t.GetText("location"),
        (program() / "graphics" / "accessories" / ("0000" + std::to_string(i) + ".png")).string());
    EXPECT_EQ(t.GetBool("pitcher_eligible"), expected[i - 1][0]) << i;
    EXPECT_EQ(t.GetBool("batter_eligible"), expected[i - 1][1]) << i;
    EXPECT_EQ(t.GetBool("lefty_eligible"), expected[i - 1][2]) << i;
    EXPECT_EQ(t.GetBool("righty_eligible"), expected[i - 1][3]) << i;
    EXPECT_EQ(t.GetInt("frequency"), 15);
  }
  EXPECT_TRUE(t.Eof());
  EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(SharedTablesTest, FaceTablesAreNumberedFromOne) {
  CreateEastIndianFacesTable(db_);
  EXPECT_TRUE(db_.TableExists("faces_east_indian.db"));
  PopulateFaceTable(db_, log_, program() / "graphics" / "east_indian", "east_indian", 12);
  Table t(db_, "faces_east_indian.db");
  EXPECT_EQ(t.RecordCount(), 12);
  EXPECT_TRUE(t.Locate("face_id", 12));
  EXPECT_FALSE(t.Locate("face_id", 13));
  t.First();
  EXPECT_EQ(t.GetInt("face_id"), 1);

  CreateAfricanFacesTable(db_);
  PopulateFaceTable(db_, log_, program() / "graphics" / "african", "african", 0);
  EXPECT_EQ(Table(db_, "faces_african.db").RecordCount(), 0);
}

TEST_F(SharedTablesTest, FacialHairRowsFollowTheFileFromTheFirstLine) {
  WriteFile(program() / "data" / "facialhair.csv", "none;50\r\nbeard;10\r\n\r\ngoatee ; 7\r\n");
  CreateFacialHairTable(db_, log_, program());
  Table t(db_, kFacialHairTable);
  ASSERT_EQ(t.RecordCount(), 3);
  t.First();
  EXPECT_EQ(t.GetInt("facial_hair_id"), 1);
  EXPECT_EQ(t.GetText("location"), "none");
  EXPECT_EQ(t.GetInt("frequency"), 50);
  t.Next();
  EXPECT_EQ(t.GetInt("facial_hair_id"), 2);
  EXPECT_EQ(t.GetText("location"), "beard");
  EXPECT_EQ(t.GetInt("frequency"), 10);
  t.Next();
  EXPECT_EQ(t.GetText("location"), "goatee");
  EXPECT_EQ(t.GetInt("frequency"), 7);
  EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(SharedTablesTest, FacialHairFailuresAreLoggedAndKeepEarlierRows) {
  // A quoted empty location is refused by the store: logged, next line goes on.
  WriteFile(program() / "data" / "facialhair.csv", "none;50\n\"\";5\nbeard;ten\nlast;1\n");
  CreateFacialHairTable(db_, log_, program());
  EXPECT_EQ(Table(db_, kFacialHairTable).RecordCount(), 1);
  const auto errors = LoggedErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "Error adding record in facial_hair.db");
  EXPECT_NE(errors[1].find("facialhair.csv line 3"), std::string::npos) << errors[1];

  fs::remove(program() / "data" / "facialhair.csv");
  CreateFacialHairTable(db_, log_, program());
  EXPECT_TRUE(db_.TableExists(kFacialHairTable));
  EXPECT_EQ(Table(db_, kFacialHairTable).RecordCount(), 0);
  ASSERT_EQ(LoggedErrors().size(), 3u);
  EXPECT_NE(LoggedErrors()[2].find("facialhair.csv"), std::string::npos);
}

std::string NationsTxt(int nations, const std::vector<std::string>& codes) {
  std::string text = "ID,Name,Short,Abbr,Something,Region\r\n";
  for (int i = 1; i <= nations; ++i) {
    const std::string code = codes[static_cast<std::size_t>(i - 1) % codes.size()];
    text += std::to_string(i) + ",Nation " + std::to_string(i) + ",N" + std::to_string(i) + ",N" +
            std::to_string(i) + ",x," + code + ",more\r\n";
  }
  return text;
}

TEST_F(SharedTablesTest, StockNationListLoadsTheProgramsWeights) {
  WriteFile(program() / "data" / "nations.csv",
            "nation_id;name;short;abbr;c;a;e;as\r\n"
            "7;Atlantis;Atl;ATL;70;20;0;10\r\n"
            "9;Japan;Japan;JPN;1;0;0;99\r\n");
  // 221 lines whose content differs from nations.csv: still the stock list.
  WriteFile(game() / "data" / "database" / "nations.txt", NationsTxt(220, {"3"}));
  EXPECT_FALSE(ModifiedNationsFile(game()));
  CreateNationsTable(db_, log_, program(), game());
  Table t(db_, kNationsTable);
  ASSERT_EQ(t.RecordCount(), 2);
  ASSERT_TRUE(t.Locate("nation_id", 7));
  EXPECT_EQ(t.GetText("nation_name"), "Atlantis");
  EXPECT_EQ(t.GetText("nation_short_name"), "Atl");
  EXPECT_EQ(t.GetText("abbreviation"), "ATL");
  EXPECT_EQ(t.GetInt("caucasian"), 70);
  EXPECT_EQ(t.GetInt("african"), 20);
  EXPECT_EQ(t.GetInt("east_indian"), 0);
  EXPECT_EQ(t.GetInt("asian"), 10);

  // Without a game list at all the program's list is used too.
  fs::remove(game() / "data" / "database" / "nations.txt");
  EXPECT_FALSE(ModifiedNationsFile(game()));
  CreateNationsTable(db_, log_, program(), game());
  EXPECT_EQ(Table(db_, kNationsTable).RecordCount(), 2);
  EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(SharedTablesTest, NationListsWithCrOnlyLineEndsAreReadLineByLine) {
  auto crOnly = [](std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += text[i] == '\n' ? '\r' : text[i];
    }
    return out;
  };
  WriteFile(program() / "data" / "nations.csv",
            crOnly("nation_id;name;short;abbr;c;a;e;as\r\n7;Atlantis;Atl;ATL;70;20;0;10\r\n"));
  // The stock list's 221 lines, ended by CR: still the stock list.
  const fs::path list = game() / "data" / "database" / "nations.txt";
  WriteFile(list, crOnly(NationsTxt(220, {"3"})));
  EXPECT_FALSE(ModifiedNationsFile(game()));
  CreateNationsTable(db_, log_, program(), game());
  Table stock(db_, kNationsTable);
  ASSERT_EQ(stock.RecordCount(), 1);
  ASSERT_TRUE(stock.Locate("nation_id", 7));
  EXPECT_EQ(stock.GetInt("caucasian"), 70);
  stock.Close();

  // A changed list ended by CR gives its nations, not one heading line.
  WriteFile(list, crOnly(NationsTxt(221, {"1", "2"})));
  EXPECT_TRUE(ModifiedNationsFile(game()));
  CreateNationsTable(db_, log_, program(), game());
  Table fromGame(db_, kNationsTable);
  ASSERT_EQ(fromGame.RecordCount(), 221);
  ASSERT_TRUE(fromGame.Locate("nation_id", 2));
  EXPECT_EQ(fromGame.GetText("nation_name"), "Nation 2");
  EXPECT_EQ(fromGame.GetInt("asian"), 75);
  EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(SharedTablesTest, ModifiedNationListDerivesWeightsFromRegionCodes) {
  WriteFile(program() / "data" / "nations.csv", "h\r\n1;Only;O;O;1;1;1;1\r\n");
  // 221 nations (222 lines); codes cycle so that every case shows up.
  WriteFile(game() / "data" / "database" / "nations.txt",
            NationsTxt(221, {"1", "2", "3", "4", "5", "6", "0", "01", " 3 "}));
  EXPECT_TRUE(ModifiedNationsFile(game()));
  CreateNationsTable(db_, log_, program(), game());
  Table t(db_, kNationsTable);
  ASSERT_EQ(t.RecordCount(), 221);
  struct Expect {
    int id, caucasian, african, eastIndian, asian;
  };
  const Expect expected[] = {{1, 5, 65, 30, 0},   {2, 5, 0, 20, 75},   {3, 85, 5, 5, 5},
                             {4, 75, 10, 10, 5},  {5, 20, 0, 10, 70},  {6, 30, 30, 30, 10},
                             {7, 30, 30, 30, 10}, {8, 30, 30, 30, 10}, {9, 85, 5, 5, 5}};
  for (const auto& e : expected) {
    ASSERT_TRUE(t.Locate("nation_id", e.id));
    EXPECT_EQ(t.GetInt("caucasian"), e.caucasian) << e.id;
    EXPECT_EQ(t.GetInt("african"), e.african) << e.id;
    EXPECT_EQ(t.GetInt("east_indian"), e.eastIndian) << e.id;
    EXPECT_EQ(t.GetInt("asian"), e.asian) << e.id;
  }
  ASSERT_TRUE(t.Locate("nation_id", 221));
  EXPECT_EQ(t.GetText("nation_name"), "Nation 221");
}

TEST_F(SharedTablesTest, NationFailuresAreLogged) {
  WriteFile(program() / "data" / "nations.csv",
            "h\r\n1;First;F;F;1;1;1;1\r\n1;Twin\x1b[1m;T;T;1;1;1;1\r\n2;Second;S;S;x;1;1;1\r\n");
  CreateNationsTable(db_, log_, program(), game());
  EXPECT_EQ(Table(db_, kNationsTable).RecordCount(), 1);
  auto errors = LoggedErrors();
  ASSERT_EQ(errors.size(), 2u);
  // A control character of the name is written out in the log.
  EXPECT_EQ(errors[0], "Error posting record Twin\\x1b[1m to nations.db");
  EXPECT_NE(errors[1].find("nations.csv line 4"), std::string::npos) << errors[1];

  fs::remove(program() / "data" / "nations.csv");
  CreateNationsTable(db_, log_, program(), game());
  EXPECT_TRUE(db_.TableExists(kNationsTable));
  errors = LoggedErrors();
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_NE(errors[2].find("nations.csv"), std::string::npos);
}

TEST_F(SharedTablesTest, GamesRowIsAddedOncePerNameWithDefaults) {
  CreateGamesTable(db_);
  Table games(db_, kGamesTable);
  CheckGamesTable(games, log_, "mygame");
  CheckGamesTable(games, log_, "MyGame");
  CheckGamesTable(games, log_, "mygame");
  EXPECT_EQ(games.RecordCount(), 2);
  EXPECT_EQ(games.GetText("universe_name"), "mygame");  // the found row is current
  EXPECT_EQ(games.GetInt("game_id"), 1);
  EXPECT_TRUE(games.GetBool("use_logos"));
  EXPECT_TRUE(games.GetBool("recycle_faces"));
  EXPECT_TRUE(games.GetBool("create_active_photos"));
  EXPECT_EQ(games.GetInt("active_ab_minimum"), 500);
  EXPECT_EQ(games.GetInt("active_ip_minimum"), 150);
  EXPECT_EQ(games.GetInt("level_scope"), 1);
  EXPECT_TRUE(games.GetBool("create_retired_photos"));
  EXPECT_EQ(games.GetInt("retired_ab_minimum"), 1000);
  EXPECT_EQ(games.GetInt("retired_ip_minimum"), 350);
  EXPECT_FALSE(games.GetBool("spread_faces"));

  const std::string longName = "a-saved-game-with-a-name-past-thirty-characters";
  CheckGamesTable(games, log_, longName);
  CheckGamesTable(games, log_, longName);
  EXPECT_EQ(games.RecordCount(), 3);
  EXPECT_EQ(games.GetText("universe_name"), longName.substr(0, 30));
  EXPECT_TRUE(LoggedErrors().empty());
}

}  // namespace
}  // namespace likentor
