#pragma once

#include <array>
#include <vector>

#include "samplegame/sample_random.h"
#include "samplegame/sample_world.h"

namespace likentor::samplegame {

// Writes career lines into a World: which team a player played for at a level, and the batting and
// pitching lines of one season with one team.
class CareerBuilder {
 public:
  explicit CareerBuilder(World& world);

  int MaxLevel() const { return maxLevel_; }
  int Organizations() const { return organizations_; }
  // The organization's team at that level, else any team of that level, else of the nearest level
  // above it (towards the major league).
  int TeamAt(int organization, int level, SampleRandom& random) const;
  // A level for a player who is not on a team now: the major league for four in ten.
  int DrawPeakLevel(SampleRandom& random) const;

  // The lines of one season with one team; `sharePercent` scales the counts (a season split by a
  // trade). Pitchers get pitching lines, and batting lines in the sub-league where pitchers bat.
  void AddSeason(const Player& player, int year, int teamId, int sharePercent,
                 SampleRandom& random);
  // The whole history of a player ending in `endYear` after `length` seasons, at levels that climb
  // to `peakLevel`; an active player's last season is with `finalTeamId`. Returns the last team.
  int AddCareer(const Player& player, int endYear, int length, int peakLevel, int finalTeamId,
                SampleRandom& random);

 private:
  void AddLines(std::vector<CareerLine>& lines, const Player& player, int year, const Team& team,
                int count, SampleRandom& random);

  World& world_;
  int maxLevel_ = 1;
  int organizations_ = 1;
  std::vector<std::array<int, 7>> byOrganization_;  // [organization][level] -> team id or 0
  std::array<std::vector<int>, 7> byLevel_;
};

}  // namespace likentor::samplegame
