// A photo run over a catalogue whose row names a layer file that is not there (an art pack's
// picture removed, an install stopped by hand): the portraits are made without it, and the run's
// error log names the file once, counted in the run's closing message.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/table_store.h"
#include "import/players_fields.h"
#include "portrait/png_image.h"
#include "shell/folders.h"
#include "support/command_line_runs.h"
#include "support/kit_game_fixture.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

using PackLayersTest = test::KitGameTest;

TEST_F(PackLayersTest, AMissingLayerOfACatalogueRowIsLoggedOnceAndCounted) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const fs::path pack = folder_ / "accessories";
  fs::create_directories(pack);
  PngImage image(90, 135, true);
  image.Save(pack / "glasses.png");
  ASSERT_EQ(Run({"install", "accessories", pack.string()}).status, 0);
  const fs::path accessory = program_ / "graphics" / "accessories" / "00005.png";
  ASSERT_TRUE(fs::exists(accessory));
  fs::remove(accessory);
  int wearers = 0;
  {
    Database db(DataFolder(program_));
    Table players(db, "sample_players.db");
    for (players.First(); !players.Eof(); players.Next()) {
      players.Edit();
      players.SetInt(kAccessoryField, 5);
      players.SetBool(kUpdateRequiredField, true);
      ASSERT_TRUE(players.Post()) << players.LastError();
      ++wearers;
    }
  }
  ASSERT_GE(wearers, 10);
  const fs::path errors = program_ / "errors.txt";
  const std::string before = fs::exists(errors) ? test::ReadBytes(errors) : "";

  const test::Outcome run = Run({"photos", "sample"});
  const std::string said = run.out + run.err;
  EXPECT_NE(said.find("photos with 1 error; see the errors log."), std::string::npos) << said;
  ASSERT_TRUE(fs::exists(errors));
  const std::string logged = test::ReadBytes(errors).substr(before.size());
  const std::string line = "The picture \"" + accessory.string() +
                           "\" of accessory 5 is missing; portraits are made without it.";
  const std::size_t at = logged.find(line);
  EXPECT_NE(at, std::string::npos) << logged;
  EXPECT_EQ(logged.find(line, at + 1), std::string::npos) << logged;
}

}  // namespace
}  // namespace likentor
