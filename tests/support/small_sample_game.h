#pragma once

// A small generated saved game "sample" (4 teams, 60 players, 2 years of careers unless told
// otherwise) for tests that run commands on a whole saved game.

#include <filesystem>

#include "samplegame/sample_game.h"

namespace likentor::test {

inline void WriteSmallSampleGame(const std::filesystem::path& gameFolder, int years = 2) {
  samplegame::SampleGameOptions options;
  options.gameFolder = gameFolder.string();
  options.teams = 4;
  options.players = 60;
  options.years = years;
  options.nationsFile =
      (std::filesystem::path(LIKENTOR_SOURCE_DIR) / "data" / "nations.csv").string();
  samplegame::GenerateSampleGame(options);
}

}  // namespace likentor::test
