#pragma once

// A session with a loaded saved game "g" built directly in its tables, and a tiny artwork kit of
// flat colours with known alpha written by the test, so that every pixel of a portrait can be
// worked out by hand. Probe points (x, y) of the 90 x 135 canvas and what lies there:
//   (0, 0)   background only: background k is (3k, 10, 20)
//   (8, 5)   the face, opaque (200, 150, 100), 10 x 10 at 7, 4
//   (30, 20) the bill underside: white at alpha 128 over the background
//   (0, 3)   facial hair, 10 x 5 at -1, 2: column 0 (clipped) red, the rest brown or blonde
//   (86, 6)  the accessory: a 5 x 5 square at 85, 5 in the accessory's colour
//   (45, 57) a generic design's white.bmp marker (10d, 10d, 10d) in rows 55..59
//   (20, 80) the uniform: default (0, 0, 200), custom (1, 200, 1), generic in the team's
//            background colour (bg.bmp grey 255 in rows 60..99)
//   (20, 104) generic text.bmp grey 128 in rows 100..107 (laid over bg.bmp), tinted in the
//            team's text colour
//   (60, 120) the 30 x 30 logo at 49, 108 (flat (250, 0, 250)) over the uniform

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/loaded_game.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "database/accessories_table.h"
#include "database/facial_hair_table.h"
#include "database/games_table.h"
#include "database/table_store.h"
#include "import/game_tables.h"
#include "import/players_table.h"
#include "import/teams_table.h"
#include "portrait/bitmap.h"
#include "portrait/png_image.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/temp_folder.h"

// Tests name only the fields they care about in designated initializers; the rest keep their
// defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace likentor::test {

inline constexpr Rgb kFaceColor{200, 150, 100};
inline constexpr Rgb kDefaultUniformColor{0, 0, 200};
inline constexpr Rgb kCustomUniformColor{1, 200, 1};
inline constexpr Rgb kLogoColor{250, 0, 250};
inline constexpr Rgb kBrownHair{100, 60, 20};
inline constexpr Rgb kBlondeHair{240, 220, 120};
inline constexpr Rgb kAccessoryColors[5] = {
    {}, {10, 250, 10}, {20, 240, 20}, {30, 230, 30}, {40, 220, 40}};

inline Rgb BackgroundColor(int k) {
  return Rgb{static_cast<std::uint8_t>(3 * k), 10, 20};
}

// One players row; every field the portrait reads or the runs select by.
struct Player {
  int id = 0;
  int teamId = 0;
  bool retired = false;
  int retiredAsTeam = 0;
  int ethnicity = 1;
  int face = 1;
  int accessory = 0;
  int hand = 1;
  int position = 3;
  int hairColor = 1;
  int facialHairStyle = 0;
  int careerAb = 1000;
  int careerIp = 0;
  bool locked = false;
  bool updateRequired = true;
  int careerSeasons = 0;
  int ageStep = 0;  // of the last portrait
};

struct Team {
  int id = 0;
  int level = 1;
  std::string customUniform = "none";
  std::string logo;
  std::string background = "#FF0000";
  std::string text = "#0000ff";
};

// The clock the session's generator reseeds from: queued values first, then 1, 2, 3...
class TestClock {
 public:
  std::uint64_t Now() {
    if (!queued_.empty()) {
      const std::uint64_t value = queued_.front();
      queued_.pop_front();
      return value;
    }
    return ++counter_;
  }
  // Makes the next reseed-and-draw below n give `value`.
  void NextDraw(int n, int value);

 private:
  std::deque<std::uint64_t> queued_;
  std::uint64_t counter_ = 0;
};

class PhotoFixture : public ::testing::Test {
 protected:
  static constexpr const char* kGame = "g";

  PhotoFixture();
  ~PhotoFixture() override;

  std::filesystem::path Pictures() const { return PicturesFolder(SavedGameFolder(game_, kGame)); }
  std::filesystem::path Portrait(int id) const {
    return Pictures() / ("Player_" + std::to_string(id) + ".png");
  }
  std::filesystem::path Graphics() const { return program_ / "graphics"; }

  void AddPlayer(const Player& p);
  // Adds a team and leaves TeamsTable open on the teams table, as the load does.
  void AddTeam(const Team& t);
  void SetUseLogos(bool on);
  void SetSetting(const std::string& field, int value);
  void SetSettingFlag(const std::string& field, bool value);

  // Puts PlayersQuery on one player's row, as the player page does.
  void OpenPlayer(int id);
  int PlayerInt(int id, const std::string& field);
  bool PlayerFlag(int id, const std::string& field);
  PngImage LoadPortrait(int id) const { return PngImage::Load(Portrait(id)); }

  // The error log's lines after its header.
  std::vector<std::string> LogLines();
  // Makes the store refuse every update of the players rows that meet `when` (SQL over NEW).
  void RefuseUpdates(const std::string& when);

  // What (s * a + d * (255 - a) + 255) >> 8 gives per channel.
  static Rgb Blend(Rgb s, int a, Rgb d);
  // The colour tint of a grey template pixel p: c * p / 255 rounded per channel.
  static Rgb Tint(Rgb c, int p);

  TempFolder folder_;
  std::filesystem::path program_ = folder_ / "program";
  std::filesystem::path game_ = folder_ / "game";
  ScriptedPrompts prompts_;
  TestClock clock_;
  Session session_{prompts_, {program_, program_}, [this] { return clock_.Now(); }};

 private:
  void WriteArtwork();
};

}  // namespace likentor::test
