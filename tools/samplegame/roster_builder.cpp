#include <algorithm>
#include <string_view>

#include "samplegame/career_builder.h"
#include "samplegame/name_lists.h"
#include "samplegame/world_building.h"

namespace likentor::samplegame {

namespace {

struct NationWeight {
  std::string_view abbreviation;
  int weight;
};

// Where baseball players come from; every other nation gets kOtherNationWeight.
constexpr NationWeight kBaseballNations[] = {
    {"USA", 6000}, {"DOM", 1100}, {"VEN", 650}, {"CUB", 200}, {"PUR", 200}, {"MEX", 200},
    {"JPN", 200},  {"CAN", 200},  {"KOR", 100}, {"PAN", 80},  {"COL", 80},  {"TPE", 80},
    {"AUS", 80},   {"CUW", 60},   {"NCA", 50},  {"NED", 40},  {"ARU", 30},  {"GER", 30},
    {"ITA", 30},   {"BRA", 30},   {"BAH", 20},  {"CHN", 20},  {"RSA", 10},  {"GBR", 10},
    {"HON", 10},   {"JAM", 10},   {"PHI", 10},  {"CZE", 10},  {"DEN", 8},   {"FRA", 8}};
constexpr int kOtherNationWeight = 2;

// The first players of every game carry these names, so that each game has accents, apostrophes and
// the characters 0x80..0x9F of Windows-1252 (Š).
struct ShowcasePlayer {
  const char* first;
  const char* last;
  std::string_view nation;
};
constexpr ShowcasePlayer kShowcase[] = {{"José", "Peña", "DOM"},        {"Hans", "Müller", "GER"},
                                        {"Carlos", "Nuñez", "VEN"},     {"Sean", "O'Neill", "USA"},
                                        {"Tony", "D'Angelo", "USA"},    {"Søren", "Åberg", "DEN"},
                                        {"François", "Lefèvre", "CAN"}, {"Tomáš", "Šimek", "CZE"},
                                        {"Jesús", "Martínez", "MEX"},   {"Kenji", "Sato", "JPN"}};

const Nation* FindNation(const World& world, int id) {
  for (const auto& n : world.nations) {
    if (n.id == id) return &n;
  }
  return nullptr;
}

int NationIdOf(const World& world, std::string_view abbreviation) {
  for (const auto& n : world.nations) {
    if (n.abbreviation == abbreviation) return n.id;
  }
  return world.nations.front().id;
}

}  // namespace

NationPicker::NationPicker(const std::vector<Nation>& nations) {
  for (const auto& n : nations) {
    int weight = kOtherNationWeight;
    for (const auto& b : kBaseballNations) {
      if (b.abbreviation == n.abbreviation) weight = b.weight;
    }
    ids_.push_back(n.id);
    weights_.push_back(weight);
  }
}

int NationPicker::Draw(SampleRandom& random) const {
  return ids_[random.Weighted(weights_)];
}

Player DrawPlayer(const World& world, const NationPicker& nations, int id, SampleRandom& random) {
  Player p;
  p.id = id;
  p.nationId = nations.Draw(random);
  const Nation& nation = *FindNation(world, p.nationId);
  auto [first, last] = DrawName(DrawCulture(nation, random), random);
  p.firstName = std::move(first);
  p.lastName = std::move(last);
  if (random.Chance(80)) {
    const auto nicks = Nicknames();
    p.nickname = nicks[random.Below(nicks.size())];
  }
  if (nation.abbreviation == "CUW" || nation.abbreviation == "ARU") {
    p.secondNationId = NationIdOf(world, "NED");
  }
  p.position = random.Chance(500) ? 1 : random.Range(2, 9);
  const int hand = random.Range(1, 100);
  p.bats = hand <= 60 ? 1 : (hand <= 94 ? 2 : 3);
  p.throws = random.Chance(p.position == 1 ? 300 : 150) ? 2 : 1;
  p.regular = random.Chance(p.position == 1 ? 400 : 550);
  p.height = random.Range(170, 203);
  p.weight = random.Range(75, 118);
  p.birthMonth = random.Range(1, 12);
  p.birthDay = random.Range(1, 28);
  return p;
}

void BuildPlayers(World& world, const SampleGameOptions& options) {
  SampleRandom random = SampleRandom::For(options.seed, "players");
  const NationPicker nations(world.nations);
  CareerBuilder careers(world);

  // Statuses in a shuffled order: a team id for a rostered player, 0 for a free agent, -1 retired.
  const int total = options.players;
  const int retired =
      static_cast<int>(static_cast<long long>(total) * options.retiredPermille / 1000);
  const int freeAgents = (total - retired) * 5 / 100;
  const int rostered = total - retired - freeAgents;
  const int teams = static_cast<int>(world.teams.size());
  std::vector<int> statuses;
  statuses.reserve(static_cast<std::size_t>(total));
  for (int k = 0; k < teams; ++k) {
    const int count = rostered / teams + (k < rostered % teams ? 1 : 0);
    statuses.insert(statuses.end(), static_cast<std::size_t>(count), k + 1);
  }
  statuses.insert(statuses.end(), static_cast<std::size_t>(freeAgents), 0);
  statuses.insert(statuses.end(), static_cast<std::size_t>(retired), -1);
  for (std::size_t i = statuses.size(); i > 1; --i) {
    std::swap(statuses[i - 1], statuses[random.Below(i)]);
  }

  const int span = world.currentYear - world.firstYear + 1;
  const int maxActive = std::min(12, span);
  const auto activeLength = [&] {
    return std::min(random.Range(1, maxActive), random.Range(1, maxActive));
  };
  world.players.reserve(statuses.size());
  int id = 0;
  for (std::size_t i = 0; i < statuses.size(); ++i) {
    id += random.Chance(50) ? random.Range(2, 4) : 1;  // ids have gaps now and then
    Player p = DrawPlayer(world, nations, id, random);
    if (i < std::size(kShowcase)) {
      p.firstName = kShowcase[i].first;
      p.lastName = kShowcase[i].last;
      p.nationId = NationIdOf(world, kShowcase[i].nation);
    }
    if (options.awkward && p.id % 97 == 13) p.nickname = "El \"Mago\"; Jr.";
    const int status = statuses[i];
    if (status < 0) {
      const int endYear = random.Range(world.firstYear, world.currentYear);
      const int maxLength = std::min(18, endYear - world.firstYear + 1);
      const int length = random.Range((maxLength + 2) / 3, maxLength);
      p.retired = true;
      p.lastTeamId =
          careers.AddCareer(p, endYear, length, careers.DrawPeakLevel(random), 0, random);
      p.teamId = random.Chance(350) ? p.lastTeamId : 0;
      p.birthYear = endYear - random.Range(27, 41);
    } else if (status == 0) {
      const int endYear = std::max(world.firstYear, world.currentYear - random.Range(0, 1));
      const int length =
          random.Chance(250) ? 0 : std::min(activeLength(), endYear - world.firstYear + 1);
      if (length > 0) {
        p.lastTeamId =
            careers.AddCareer(p, endYear, length, careers.DrawPeakLevel(random), 0, random);
      }
      p.birthYear = world.currentYear - (22 + length + random.Range(0, 8));
    } else {
      const int length = random.Chance(40) ? 0 : activeLength();
      p.teamId = status;
      if (length > 0) {
        p.lastTeamId = careers.AddCareer(p, world.currentYear, length,
                                         world.TeamById(status)->level, status, random);
      }
      p.uniformNumber = random.Range(1, 99);
      p.birthYear = world.currentYear - (21 + length + random.Range(0, 8));
    }
    p.draftYear = p.birthYear + random.Range(18, 22);
    world.players.push_back(std::move(p));
  }
}

}  // namespace likentor::samplegame
