#include "samplegame/career_builder.h"

#include <algorithm>

namespace likentor::samplegame {

CareerBuilder::CareerBuilder(World& world) : world_(world) {
  for (const auto& t : world.teams) {
    organizations_ = std::max(organizations_, t.organization);
    maxLevel_ = std::max(maxLevel_, t.level);
  }
  byOrganization_.assign(static_cast<std::size_t>(organizations_) + 1, {});
  for (const auto& t : world.teams) {
    const auto level = static_cast<std::size_t>(std::clamp(t.level, 1, 6));
    auto& slot = byOrganization_[static_cast<std::size_t>(t.organization)][level];
    if (slot == 0) slot = t.id;
    byLevel_[level].push_back(t.id);
  }
}

int CareerBuilder::TeamAt(int organization, int level, SampleRandom& random) const {
  level = std::clamp(level, 1, maxLevel_);
  if (organization >= 1 && organization <= organizations_) {
    const int id =
        byOrganization_[static_cast<std::size_t>(organization)][static_cast<std::size_t>(level)];
    if (id != 0) return id;
  }
  for (int l = level; l >= 1; --l) {
    const auto& teams = byLevel_[static_cast<std::size_t>(l)];
    if (!teams.empty()) return teams[random.Below(teams.size())];
  }
  return world_.teams.front().id;
}

int CareerBuilder::DrawPeakLevel(SampleRandom& random) const {
  if (maxLevel_ == 1 || random.Chance(400)) return 1;
  return random.Range(2, maxLevel_);
}

void CareerBuilder::AddLines(std::vector<CareerLine>& lines, const Player& player, int year,
                             const Team& team, int count, SampleRandom& random) {
  const int playerId = player.id;
  const int position = player.position;
  CareerLine line{playerId, year, team.id, 1, count, false, position};
  // Now and then the game writes a zero count as two zeros.
  line.doubleZero = count == 0 && random.Chance(125);
  lines.push_back(line);
  // Splits against left- and right-handers: always in the major league, sometimes below.
  if (team.level == 1 || random.Chance(500)) {
    const int vsLeft = count * random.Range(22, 34) / 100;
    lines.push_back(CareerLine{playerId, year, team.id, 2, vsLeft, false, position});
    lines.push_back(CareerLine{playerId, year, team.id, 3, count - vsLeft, false, position});
  }
}

void CareerBuilder::AddSeason(const Player& player, int year, int teamId, int sharePercent,
                              SampleRandom& random) {
  const Team& team = *world_.TeamById(teamId);
  const auto scaled = [&](int count) { return count * sharePercent / 100; };
  if (player.position == 1) {
    int ip = player.regular ? random.Range(60, 230) : random.Range(8, 90);
    if (random.Chance(30)) ip = 0;
    AddLines(world_.pitching, player, year, team, scaled(ip), random);
    if (team.level == 1 && team.subLeague == 2) {
      const int ab = random.Chance(350) ? 0 : random.Range(1, 80);
      AddLines(world_.batting, player, year, team, scaled(ab), random);
    }
  } else {
    int ab = player.regular ? random.Range(150, 620) : random.Range(10, 220);
    if (random.Chance(30)) ab = 0;
    AddLines(world_.batting, player, year, team, scaled(ab), random);
    // A position player who pitched in a blow-out without getting anyone out.
    if (random.Chance(10)) {
      world_.pitching.push_back(CareerLine{player.id, year, team.id, 1, 0, false, player.position});
    }
  }
}

int CareerBuilder::AddCareer(const Player& player, int endYear, int length, int peakLevel,
                             int finalTeamId, SampleRandom& random) {
  int organization = finalTeamId != 0 ? world_.TeamById(finalTeamId)->organization
                                      : random.Range(1, organizations_);
  const int startLevel = std::min(maxLevel_, peakLevel + random.Range(0, 3));
  int lastTeam = 0;
  for (int i = 0; i < length; ++i) {
    const int year = endYear - length + 1 + i;
    const int level = std::max(peakLevel, startLevel - i);
    const bool last = i == length - 1;
    if (i > 0 && !(last && finalTeamId != 0) && random.Chance(100)) {
      organization = random.Range(1, organizations_);
    }
    int team = last && finalTeamId != 0 ? finalTeamId : TeamAt(organization, level, random);
    if (random.Chance(80)) {
      // Traded during the season: the earlier team gets the larger share.
      const int earlier = TeamAt(random.Range(1, organizations_), level, random);
      if (earlier != team) {
        AddSeason(player, year, earlier, 60, random);
        AddSeason(player, year, team, 40, random);
        lastTeam = team;
        continue;
      }
    }
    AddSeason(player, year, team, 100, random);
    lastTeam = team;
  }
  return lastTeam;
}

}  // namespace likentor::samplegame
