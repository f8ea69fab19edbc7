#include "samplegame/sample_game.h"

#include <algorithm>
#include <stdexcept>

#include "samplegame/exports.h"
#include "samplegame/pictures.h"
#include "samplegame/world_building.h"

#ifndef LIKENTOR_SOURCE_DIR
#define LIKENTOR_SOURCE_DIR ""
#endif

namespace likentor::samplegame {

namespace fs = std::filesystem;

const Team* World::TeamById(int id) const {
  if (id < 1 || id > static_cast<int>(teams.size())) return nullptr;
  return &teams[static_cast<std::size_t>(id - 1)];
}

const League* World::LeagueById(int id) const {
  for (const auto& l : leagues) {
    if (l.id == id) return &l;
  }
  return nullptr;
}

void ApplyPreset(SampleGameOptions& options, SizePreset preset) {
  switch (preset) {
    case SizePreset::Small:
      options.teams = 30;
      options.players = 1200;
      options.years = 5;
      options.retiredPermille = 200;
      break;
    case SizePreset::Medium:
      options.teams = 150;
      options.players = 8000;
      options.years = 10;
      options.retiredPermille = 350;
      break;
    case SizePreset::Large:
      options.teams = 180;
      options.players = 50000;
      options.years = 25;
      options.retiredPermille = 800;
      break;
  }
}

World BuildWorld(const SampleGameOptions& options) {
  if (options.teams < 1) throw std::invalid_argument("--teams must be at least 1");
  if (options.players < 0) throw std::invalid_argument("--players must not be negative");
  if (options.years < 1) throw std::invalid_argument("--years must be at least 1");
  if (options.season < 1) throw std::invalid_argument("--season must be at least 1");
  if (options.retiredPermille < 0 || options.retiredPermille > 1000) {
    throw std::invalid_argument("the retired share must lie between 0 and 1000 per mille");
  }
  if (options.nationsFile.empty()) throw std::invalid_argument("no nations list given");

  World world;
  world.nations = ReadNationList(options.nationsFile);
  world.currentYear = kBaseYear;
  world.firstYear = kBaseYear - options.years + 1;
  BuildLeaguesAndTeams(world, options);
  BuildPlayers(world, options);
  for (int season = 2; season <= options.season; ++season) AdvanceSeason(world, options, season);
  if (options.season > 1) {
    // Keep each player's lines together, oldest first, as after the first season.
    const auto byPlayer = [](const CareerLine& a, const CareerLine& b) {
      return a.playerId < b.playerId;
    };
    std::stable_sort(world.batting.begin(), world.batting.end(), byPlayer);
    std::stable_sort(world.pitching.begin(), world.pitching.end(), byPlayer);
  }
  return world;
}

fs::path SavedGameFolder(const SampleGameOptions& options) {
  return fs::path(options.gameFolder) / "data" / "saved_games" / (options.name + ".lg");
}

SampleGameSummary WriteSampleGame(const World& world, const SampleGameOptions& options) {
  SampleGameSummary summary;
  summary.savedGameFolder = SavedGameFolder(options);
  const fs::path database = fs::path(options.gameFolder) / "data" / "database";
  const fs::path exports = summary.savedGameFolder / "import_export";
  const fs::path images = summary.savedGameFolder / "news" / "html" / "images";
  std::error_code error;
  for (const auto& folder : {database, exports, images}) {
    fs::create_directories(folder, error);
    if (error)
      throw std::runtime_error("Cannot create " + folder.string() + ": " + error.message());
  }

  WriteNationsTxt(world, options.modifiedNations, database / "nations.txt");
  summary.exportBytes = WriteExports(world, options, exports);
  const PictureCounts pictures = WritePictures(world, images);

  summary.leagues = static_cast<int>(world.leagues.size());
  summary.teams = static_cast<int>(world.teams.size());
  summary.players = static_cast<int>(world.players.size());
  for (const auto& p : world.players) {
    summary.retired += p.retired ? 1 : 0;
    summary.freeAgents += !p.retired && p.teamId == 0 ? 1 : 0;
  }
  summary.battingLines = world.batting.size();
  summary.pitchingLines = world.pitching.size();
  summary.logos = pictures.logos;
  summary.playerPictures = pictures.playerPictures;
  return summary;
}

SampleGameSummary GenerateSampleGame(const SampleGameOptions& options) {
  return WriteSampleGame(BuildWorld(options), options);
}

std::string FindNationsFile(const fs::path& executable) {
  std::error_code error;
  const fs::path beside =
      executable.parent_path().parent_path() / "program" / "data" / "nations.csv";
  if (fs::exists(beside, error)) return beside.string();
  const fs::path source = fs::path(LIKENTOR_SOURCE_DIR) / "data" / "nations.csv";
  if (!std::string_view(LIKENTOR_SOURCE_DIR).empty() && fs::exists(source, error)) {
    return source.string();
  }
  return {};
}

}  // namespace likentor::samplegame
