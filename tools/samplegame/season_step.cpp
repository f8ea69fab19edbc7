// One season of a saved game's life, so that tests can load a game, let it move on and load again.
// The season is played first (career lines of the new year for every player on a team), then the
// off-season changes players: some retire, some are released, traded or signed, a few change
// position or nation, and new players join without career lines.

#include <algorithm>

#include "samplegame/career_builder.h"
#include "samplegame/world_building.h"

namespace likentor::samplegame {

void AdvanceSeason(World& world, const SampleGameOptions& options, int season) {
  SampleRandom random =
      SampleRandom::For(options.seed, "season", static_cast<std::uint64_t>(season));
  const NationPicker nations(world.nations);
  CareerBuilder careers(world);
  const int year = world.currentYear + 1;
  const int teams = static_cast<int>(world.teams.size());

  for (auto& p : world.players) {
    if (p.retired || p.teamId == 0) continue;
    careers.AddSeason(p, year, p.teamId, 100, random);
    p.lastTeamId = p.teamId;
  }

  int active = 0;
  for (auto& p : world.players) {
    if (p.retired) continue;
    if (random.Chance(80)) {
      p.retired = true;
      if (random.Chance(650)) p.teamId = 0;
      continue;
    }
    ++active;
    if (p.teamId != 0) {
      if (random.Chance(30)) {
        p.teamId = 0;
      } else if (teams > 1 && random.Chance(100)) {
        const int other = random.Range(1, teams - 1);
        p.teamId = other >= p.teamId ? other + 1 : other;
      }
    } else if (random.Chance(300)) {
      p.teamId = random.Range(1, teams);
    }
    if (random.Chance(10)) p.position = p.position == 1 ? random.Range(2, 9) : 1;
    if (random.Chance(5)) {
      const int nation = nations.Draw(random);
      if (nation != p.nationId) p.nationId = nation;
    }
  }

  int id = world.players.empty() ? 0 : world.players.back().id;
  const int newcomers = std::max(1, active * 6 / 100);
  for (int k = 0; k < newcomers; ++k) {
    id += random.Chance(50) ? random.Range(2, 4) : 1;
    Player p = DrawPlayer(world, nations, id, random);
    if (random.Chance(800)) {
      p.teamId = random.Range(1, teams);
      p.uniformNumber = random.Range(1, 99);
    }
    p.birthYear = year - random.Range(19, 24);
    p.draftYear = year;
    world.players.push_back(std::move(p));
  }
  world.currentYear = year;
}

}  // namespace likentor::samplegame
