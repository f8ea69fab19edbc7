#include "app/photo_fixture.h"

#include <fstream>

#include "import/players_fields.h"
#include "portrait/artwork_paths.h"
#include "support/table_helpers.h"

namespace likentor::test {

namespace {

void SaveFlat(const std::filesystem::path& file, int width, int height, Rgb color, int alpha) {
  std::filesystem::create_directories(file.parent_path());
  PngImage image(width, height, alpha >= 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.SetPixel(x, y, color);
      image.SetAlpha(x, y, static_cast<std::uint8_t>(alpha));
    }
  }
  image.Save(file);
}

// A transparent 90 x 135 layer with one opaque block.
void SaveBlock(const std::filesystem::path& file, int x0, int y0, int x1, int y1, Rgb color,
               int alpha = 255) {
  std::filesystem::create_directories(file.parent_path());
  PngImage image(90, 135, true);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      image.SetPixel(x, y, color);
      image.SetAlpha(x, y, static_cast<std::uint8_t>(alpha));
    }
  }
  image.Save(file);
}

// A 90 x 135 BMP template: black with rows y0..y1 in grey g.
void SaveTemplate(const std::filesystem::path& file, int y0, int y1, int grey) {
  std::filesystem::create_directories(file.parent_path());
  Bitmap bitmap(90, 135);
  const auto g = static_cast<std::uint8_t>(grey);
  for (int y = y0; y <= y1; ++y) {
    for (int x = 0; x < 90; ++x) bitmap.SetPixel(x, y, Rgb{g, g, g});
  }
  bitmap.SaveBmp(file);
}

void SaveFacialHair(const std::filesystem::path& file, Rgb color) {
  std::filesystem::create_directories(file.parent_path());
  PngImage image(10, 5, true);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 10; ++x) {
      image.SetPixel(x, y, x == 0 ? Rgb{255, 0, 0} : color);
      image.SetAlpha(x, y, 255);
    }
  }
  image.Save(file);
}

}  // namespace

void TestClock::NextDraw(int n, int value) {
  for (std::uint64_t c = 0;; ++c) {
    const std::uint32_t seed = static_cast<std::uint32_t>(c) * 134775813u + 1u;
    if (static_cast<int>((static_cast<std::uint64_t>(seed) * static_cast<std::uint32_t>(n)) >>
                         32) == value) {
      queued_.push_back(c);
      return;
    }
  }
}

PhotoFixture::PhotoFixture() {
  std::filesystem::create_directories(DataFolder(program_));
  std::filesystem::create_directories(Pictures());
  {
    std::ofstream styles(DataFolder(program_) / "facialhair.csv", std::ios::binary);
    styles << "none;640\r\nstubble;90\r\nbeard;10\r\n";
  }
  session_.SetProgramFolder(program_);
  session_.SetGameFolder(game_);
  session_.Log().CreateErrorFile();
  Database& db = session_.Data();
  CreateGamesTable(db);
  CreateFacialHairTable(db, session_.Log(), program_);
  CreateAccessoriesTable(db, session_.Log(), program_, KitAccessoryPictures(program_));
  UniversalTables& shared = session_.Universal();
  shared.GamesTable.Open(db, kGamesTable);
  shared.FacialHairTable.Open(db, kFacialHairTable);
  shared.AccessoriesTable.Open(db, kAccessoriesTable);
  CheckGamesTable(shared.GamesTable, session_.Log(), kGame);
  session_.Game().Saved = ResolveSavedGame(game_, kGame);
  CreateTeamsTable(db, session_.Game().Saved);
  CreatePlayersTable(db, session_.Game().Saved);
  session_.Game().TeamsTable.Open(db, TeamsTableName(kGame));
  session_.SetLoadedGameName(kGame);
  session_.SetStatusText(std::string(kGame) + ".lg loaded.");
  WriteArtwork();
}

PhotoFixture::~PhotoFixture() {
  LoadedGame& game = session_.Game();
  game.PlayersQuery.Close();
  game.TeamsTable.Close();
  UniversalTables& shared = session_.Universal();
  shared.GamesTable.Close();
  shared.FacialHairTable.Close();
  shared.AccessoriesTable.Close();
}

void PhotoFixture::WriteArtwork() {
  const std::filesystem::path g = Graphics();
  for (int k = 1; k <= 69; ++k) {
    SaveFlat(
        g / "backgrounds" / (std::string(k < 10 ? "0000" : "000") + std::to_string(k) + ".png"), 90,
        135, BackgroundColor(k), -1);
  }
  SaveFlat(g / "faces" / "caucasian" / "0000001.png", 10, 10, kFaceColor, 255);
  SaveFlat(g / "faces" / "east indian" / "0000002.png", 10, 10, Rgb{90, 60, 40}, 255);
  SaveBlock(g / "uniforms" / "default.png", 0, 60, 89, 134, kDefaultUniformColor);
  SaveBlock(g / "uniforms" / "custom" / "MLB" / "Club_home.png", 0, 60, 89, 134,
            kCustomUniformColor);
  SaveBlock(g / "uniforms" / "bill underside.png", 30, 20, 31, 20, Rgb{255, 255, 255}, 128);
  for (int design : {1, 2, 4, 25}) {
    const auto folder =
        g / "uniforms" / "generic" / (std::string(design < 10 ? "0" : "") + std::to_string(design));
    SaveTemplate(folder / "white.bmp", 55, 59, 10 * design);
    SaveTemplate(folder / "bg.bmp", 60, 134, 255);
    SaveTemplate(folder / "text.bmp", 100, 107, 128);
  }
  SaveFacialHair(g / "facial hair" / "stubble" / "brown.png", kBrownHair);
  SaveFacialHair(g / "facial hair" / "stubble" / "blonde.png", kBlondeHair);
  SaveFacialHair(g / "facial hair" / "beard" / "brown.png", kBrownHair);
  for (int a = 1; a <= 4; ++a) {
    SaveBlock(g / "accessories" / ("0000" + std::to_string(a) + ".png"), 85, 5, 89, 9,
              kAccessoryColors[a]);
  }
  SaveFlat(Pictures() / "logo.png", 60, 60, kLogoColor, 255);
  SaveFlat(Pictures() / "logo.PNG", 60, 60, kLogoColor, 255);
}

void PhotoFixture::AddPlayer(const Player& p) {
  Table players(session_.Data(), PlayersTableName(kGame));
  players.Append();
  players.SetInt(kPlayerIdField, p.id);
  players.SetText(kFirstNameField, "First" + std::to_string(p.id));
  players.SetText(kLastNameField, "Last" + std::to_string(p.id));
  players.SetInt(kNationIdField, 211);
  players.SetBool(kRetiredField, p.retired);
  players.SetInt(kTeamIdField, p.teamId);
  players.SetInt(kPositionField, p.position);
  players.SetInt(kEthnicityField, p.ethnicity);
  players.SetInt(kBackgroundField, 0);
  players.SetInt(kFaceField, p.face);
  players.SetInt(kUniformTeamIdField, 0);
  players.SetInt(kHairColorField, p.hairColor);
  players.SetInt(kHairStyleField, 0);
  players.SetInt(kFacialHairStyleField, p.facialHairStyle);
  players.SetInt(kAccessoryField, p.accessory);
  players.SetInt(kCareerAbField, p.careerAb);
  players.SetInt(kCareerIpField, p.careerIp);
  players.SetBool(kLockedField, p.locked);
  players.SetBool(kUpdateRequiredField, p.updateRequired);
  players.SetInt(kRetiredAsTeamField, p.retiredAsTeam);
  players.SetInt(kHandField, p.hand);
  players.SetInt(kCareerSeasonsField, p.careerSeasons);
  players.SetInt(kAgeStepField, p.ageStep);
  ASSERT_TRUE(players.Post()) << players.LastError();
}

void PhotoFixture::AddTeam(const Team& t) {
  Table& teams = session_.Game().TeamsTable;
  teams.Append();
  teams.SetInt("team_id", t.id);
  teams.SetText("team_name", "Town" + std::to_string(t.id));
  teams.SetText("nickname", "Club" + std::to_string(t.id));
  teams.SetText("logo_file", t.logo);
  teams.SetInt("league_id", 1);
  teams.SetInt("level", t.level);
  teams.SetText("background_color_id", t.background);
  teams.SetText("text_color_id", t.text);
  teams.SetText("custom_uniform_file", t.customUniform);
  ASSERT_TRUE(teams.Post()) << teams.LastError();
  std::vector<TeamItem> items = session_.Window().teams;
  items.push_back({t.id, "Town" + std::to_string(t.id) + " Club" + std::to_string(t.id)});
  session_.SetTeams(std::move(items));
}

void PhotoFixture::SetUseLogos(bool on) {
  SetSettingFlag("use_logos", on);
}

void PhotoFixture::SetSetting(const std::string& field, int value) {
  Table& games = session_.Universal().GamesTable;
  games.Edit();
  games.SetInt(field, value);
  ASSERT_TRUE(games.Post()) << games.LastError();
}

void PhotoFixture::SetSettingFlag(const std::string& field, bool value) {
  Table& games = session_.Universal().GamesTable;
  games.Edit();
  games.SetBool(field, value);
  ASSERT_TRUE(games.Post()) << games.LastError();
}

void PhotoFixture::OpenPlayer(int id) {
  Query& query = session_.Game().PlayersQuery;
  query.Clear();
  query.Add("SELECT *");
  query.Add("From \"" + PlayersTableName(kGame) + "\"");
  query.Add("WHERE player_id=" + std::to_string(id));
  query.Open(session_.Data());
  ASSERT_FALSE(query.Eof());
}

int PhotoFixture::PlayerInt(int id, const std::string& field) {
  Table players(session_.Data(), PlayersTableName(kGame));
  EXPECT_TRUE(players.Locate(kPlayerIdField, id));
  return players.GetInt(field);
}

bool PhotoFixture::PlayerFlag(int id, const std::string& field) {
  Table players(session_.Data(), PlayersTableName(kGame));
  EXPECT_TRUE(players.Locate(kPlayerIdField, id));
  return players.GetBool(field);
}

std::vector<std::string> PhotoFixture::LogLines() {
  auto lines = session_.Log().ShowErrors();
  lines.erase(lines.begin());
  return lines;
}

void PhotoFixture::RefuseUpdates(const std::string& when) {
  test::RefuseUpdates(session_.Data(), PlayersTableName(kGame), when);
}

Rgb PhotoFixture::Blend(Rgb s, int a, Rgb d) {
  auto one = [a](int sv, int dv) {
    return static_cast<std::uint8_t>((sv * a + dv * (255 - a) + 255) >> 8);
  };
  return Rgb{one(s.r, d.r), one(s.g, d.g), one(s.b, d.b)};
}

Rgb PhotoFixture::Tint(Rgb c, int p) {
  auto one = [p](int cv) { return static_cast<std::uint8_t>((2 * cv * p + 255) / 510); };
  return Rgb{one(c.r), one(c.g), one(c.b)};
}

}  // namespace likentor::test
