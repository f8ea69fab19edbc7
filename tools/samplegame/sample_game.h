#pragma once

// The sample saved game generator: builds a synthetic saved game in memory and writes it into a
// game folder as the game lays it out:
//   GAME/data/database/nations.txt
//   GAME/data/saved_games/NAME.lg/import_export/{leagues,teams,players}.csv
//   GAME/data/saved_games/NAME.lg/import_export/players_career_{batting,pitching}_stats.csv
//   GAME/data/saved_games/NAME.lg/news/html/images/ (logos, existing pictures)

#include <cstddef>
#include <filesystem>
#include <string>

#include "samplegame/sample_world.h"

namespace likentor::samplegame {

struct SampleGameSummary {
  std::filesystem::path savedGameFolder;
  int leagues = 0;
  int teams = 0;
  int players = 0;
  int retired = 0;
  int freeAgents = 0;
  std::size_t battingLines = 0;
  std::size_t pitchingLines = 0;
  int logos = 0;
  int playerPictures = 0;
  std::size_t exportBytes = 0;
};

// Throws std::invalid_argument for options out of range and std::runtime_error when the nations
// list cannot be read.
World BuildWorld(const SampleGameOptions& options);
// Builds the world and writes it; creates the folders when missing and replaces files of the same
// names (other files in the folders are left alone). Throws std::runtime_error on a write failure.
SampleGameSummary GenerateSampleGame(const SampleGameOptions& options);
SampleGameSummary WriteSampleGame(const World& world, const SampleGameOptions& options);

std::filesystem::path SavedGameFolder(const SampleGameOptions& options);
// The program's nations list as seen from the tool's executable: BUILD/program/data/nations.csv
// beside BUILD/bin, else the source tree's data/nations.csv. Empty when neither exists.
std::string FindNationsFile(const std::filesystem::path& executable);

}  // namespace likentor::samplegame
