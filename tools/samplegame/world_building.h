#pragma once

// The steps that build a World, in the order BuildWorld runs them.

#include <string>
#include <string_view>
#include <vector>

#include "samplegame/sample_random.h"
#include "samplegame/sample_world.h"

namespace likentor::samplegame {

// The number of major-league teams for a team count: up to 30, the rest are minor-league
// affiliates.
int MajorTeamCount(int teams);

// Leagues (the major league, then minor leagues by level) and teams 1..N.
void BuildLeaguesAndTeams(World& world, const SampleGameOptions& options);
// Players with their career lines up to world.currentYear.
void BuildPlayers(World& world, const SampleGameOptions& options);
// Plays one more season and then moves players about (see season_step.cpp).
void AdvanceSeason(World& world, const SampleGameOptions& options, int season);

// Draws nation ids with the weights of the countries that baseball players come from.
class NationPicker {
 public:
  explicit NationPicker(const std::vector<Nation>& nations);
  int Draw(SampleRandom& random) const;

 private:
  std::vector<int> ids_;
  std::vector<int> weights_;
};

// A new player with name, nation, body, handedness and position drawn; no team, no career.
Player DrawPlayer(const World& world, const NationPicker& nations, int id, SampleRandom& random);

// Lower-case ASCII file-name stem of a text ("Montréal Expos" gives "montreal_expos").
std::string FileStem(std::string_view utf8);

}  // namespace likentor::samplegame
