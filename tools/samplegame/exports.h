#pragma once

#include <cstddef>
#include <filesystem>

#include "samplegame/sample_world.h"

namespace likentor::samplegame {

// Writes leagues.csv, teams.csv, players.csv, players_career_batting_stats.csv and
// players_career_pitching_stats.csv into the folder. Returns the bytes written.
std::size_t WriteExports(const World& world, const SampleGameOptions& options,
                         const std::filesystem::path& importExportFolder);

// Writes the game's nations list (comma-separated, field 5 the region code): the stock list of 220
// nations, or with `modified` a changed list of 221 (see the tool's README).
std::size_t WriteNationsTxt(const World& world, bool modified, const std::filesystem::path& file);

}  // namespace likentor::samplegame
