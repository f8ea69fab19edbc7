// Save Current Settings and the settings the command line changes.

#include <gtest/gtest.h>

#include "app/game_settings.h"
#include "commands_fixture.h"

namespace likentor {
namespace {

class GameSettingsTest : public test::CommandsFixture {
 protected:
  // The stored row of the game, read through a table of its own.
  std::string Stored(const std::string& field) { return Column("games.db", field).at(1); }
};

TEST_F(GameSettingsTest, SaveStoresThePendingChange) {
  Table& games = session_.Universal().GamesTable;
  EXPECT_TRUE(SaveSettingsBtnClick(session_));  // nothing pending: nothing happens
  EditSettings(session_, {{"active_ab_minimum", 320}, {"create_retired_photos", false}});
  EXPECT_EQ(Stored("active_ab_minimum"), "500");  // pending until saved
  EXPECT_TRUE(SaveSettingsBtnClick(session_));
  EXPECT_FALSE(games.InEdit());
  EXPECT_EQ(Stored("active_ab_minimum"), "320");
  EXPECT_EQ(Stored("create_retired_photos"), "false");
  EXPECT_EQ(Stored("create_active_photos"), "true");
  EXPECT_TRUE(prompts_.History().empty());
  EXPECT_TRUE(LogLines().empty());

  const auto settings = CurrentSettings(session_);
  ASSERT_EQ(settings.size(), 13u);
  EXPECT_EQ(settings[1], (std::pair<std::string, std::string>{"universe_name", "g"}));
  EXPECT_EQ(settings[12], (std::pair<std::string, std::string>{"players_age", "false"}));
  EXPECT_EQ(settings[5], (std::pair<std::string, std::string>{"active_ab_minimum", "320"}));
}

TEST_F(GameSettingsTest, ARefusedSaveIsCancelledAndLogged) {
  RefuseUpdates("games.db", "1");
  EditSettings(session_, {{"active_ip_minimum", 99}});
  EXPECT_FALSE(SaveSettingsBtnClick(session_));
  Table& games = session_.Universal().GamesTable;
  EXPECT_FALSE(games.InEdit());
  EXPECT_EQ(games.GetText("active_ip_minimum"), "150");
  EXPECT_EQ(Stored("active_ip_minimum"), "150");
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Error saving game settings."});
  EXPECT_TRUE(prompts_.History().empty());
}

TEST_F(GameSettingsTest, ReadingChanges) {
  EXPECT_EQ(ParseSettingChange("use_logos=false"), (SettingChange{"use_logos", false}));
  EXPECT_EQ(ParseSettingChange("create_active_photos=true"),
            (SettingChange{"create_active_photos", true}));
  EXPECT_EQ(ParseSettingChange("active_ip_minimum=0"), (SettingChange{"active_ip_minimum", 0}));
  EXPECT_EQ(ParseSettingChange("active_ab_minimum=2147483647"),
            (SettingChange{"active_ab_minimum", 2147483647}));

  const auto message = [](std::string_view text) {
    try {
      ParseSettingChange(text);
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(message("use_logos"), "\"use_logos\" is not FIELD=VALUE.");
  EXPECT_EQ(message("use_logos=yes"), "use_logos is true or false, not \"yes\".");
  EXPECT_EQ(message("active_ab_minimum=-1"),
            "active_ab_minimum is a whole number from 0 to 2147483647, not \"-1\".");
  EXPECT_EQ(message("active_ab_minimum=12x"),
            "active_ab_minimum is a whole number from 0 to 2147483647, not \"12x\".");
  EXPECT_EQ(message("active_ab_minimum=99999999999"),
            "active_ab_minimum is a whole number from 0 to 2147483647, not \"99999999999\".");
  EXPECT_EQ(message("active_ab_minimum="),
            "active_ab_minimum is a whole number from 0 to 2147483647, not \"\".");
  EXPECT_EQ(message("level_scope=2"),
            "There is no setting \"level_scope\". The settings are use_logos, "
            "create_active_photos, create_retired_photos, spread_faces, players_age, "
            "active_ab_minimum, active_ip_minimum.");
}

}  // namespace
}  // namespace likentor
