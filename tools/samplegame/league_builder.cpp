#include <algorithm>
#include <array>
#include <string_view>

#include "samplegame/windows_1252.h"
#include "samplegame/world_building.h"

namespace likentor::samplegame {

namespace {

struct MajorTeamSeed {
  std::string_view place;
  std::string_view nickname;
  std::string_view abbreviation;
  std::string_view background;
  std::string_view text;
};

// Place names and nicknames as the uniform pictures expect them, two-name cities included, plus a
// few clubs of other names that get no custom uniform.
constexpr MajorTeamSeed kMajorTeams[] = {
    {"Baltimore", "Orioles", "BAL", "#DF4601", "#000000"},
    {"Boston", "Red Sox", "BOS", "#BD3039", "#0C2340"},
    {"New York (A)", "Yankees", "NYY", "#0C2340", "#C4CED3"},
    {"Tampa Bay", "Devil Rays", "TB", "#092C5C", "#8FBCE6"},
    {"Toronto", "Jays", "TOR", "#134A8E", "#E8291C"},
    {"Chicago (A)", "White Sox", "CWS", "#27251F", "#C4CED4"},
    {"Cleveland", "Indians", "CLE", "#0C2340", "#E31937"},
    {"Detroit", "Tigers", "DET", "#0C2340", "#FA4616"},
    {"Kansas City", "Royals", "KC", "#004687", "#BD9B60"},
    {"Minnesota", "Twins", "MIN", "#002B5C", "#D31145"},
    {"Anaheim", "Angels", "ANA", "#BA0021", "#003263"},
    {"Oakland", "A's", "OAK", "#003831", "#EFB21E"},
    {"Seattle", "Mariners", "SEA", "#0C2C56", "#005C5C"},
    {"Texas", "Rangers", "TEX", "#003278", "#C0111F"},
    {"Portland", "Beavers", "POR", "#000000", "#F5A623"},
    {"Atlanta", "Braves", "ATL", "#13274F", "#CE1141"},
    {"Florida", "Marlins", "FLA", "#00A3E0", "#EF3340"},
    {"New York", "Mets", "NYM", "#002D72", "#FF5910"},
    {"Philadelphia", "Phillies", "PHI", "#E81828", "#002D72"},
    {"Washington", "Nationals", "WAS", "#AB0003", "#14225A"},
    {"Chicago", "Cubs", "CHC", "#0E3386", "#CC3433"},
    {"Cincinnati", "Reds", "CIN", "#C6011F", "#FFFFFF"},
    {"Houston", "Astros", "HOU", "#002D62", "#EB6E1F"},
    {"Milwaukee", "Brewers", "MIL", "#12284B", "#FFC52F"},
    {"St. Louis", "Cardinals", "STL", "#C41E3A", "#0C2340"},
    {"Los Angeles", "Dodgers", "LAD", "#005A9C", "#FFFFFF"},
    {"San Diego", "Padres", "SD", "#2F241D", "#FFC425"},
    {"San Francisco", "Giants", "SF", "#FD5A1E", "#27251F"},
    {"Montréal", "Expos", "MON", "#003da5", "#e4002b"},
    {"New York", "Knights", "NYK", "#1d1d1b", "#c8a2c8"},
};
constexpr int kMaxMajorTeams = 30;

constexpr std::string_view kAffiliatePlaces[] = {
    "Riverton",     "Cedar Falls",    "Mapleton",    "Harbor City",   "Granite Peak",
    "Fort Wilder",  "Clearwater Bay", "Millbrook",   "Ashford",       "Stonebridge",
    "Red Bluff",    "Lakeport",       "Pine Hollow", "Silver Creek",  "Bridgewater",
    "Oak Ridge",    "Eastfield",      "Westhaven",   "Northgate",     "Southport",
    "Iron Springs", "Copper Hill",    "Sandy Point", "Elk Grove",     "Falcon Heights",
    "Bayshore",     "Kingsford",      "Wolf Creek",  "Prairie View",  "Twin Forks",
    "San José",     "Québec",         "Mazatlán",    "Saint-Jérôme",  "Coeur d'Alene",
    "Bellevue",     "Fairmont",       "Glenwood",    "Highland Park", "Rockport",
    "Maple Grove",  "Brookside",      "Dover Flats", "Grand Prairie", "Cypress Point",
    "Redwood",      "Willow Springs", "Hawthorne",
};
constexpr std::string_view kAffiliateNicknames[] = {
    "Owls",       "Sea Dogs",  "Lumberjacks", "Thunder",   "River Cats",   "Miners",   "Pioneers",
    "Comets",     "Sentinels", "Mudcats",     "Rattlers",  "Foxes",        "Herons",   "Blue Sox",
    "Ironmen",    "Canaries",  "Storm",       "Bison",     "Drillers",     "Clippers", "Mariachis",
    "Voyageurs",  "Hornets",   "Badgers",     "Loggers",   "Sharks",       "Aviators", "Cougars",
    "Navigators", "Bobcats",   "Riverdogs",   "Wranglers", "Skeeters",     "Pelicans", "Kernels",
    "Trappers",   "Mustangs",  "Spikes",      "Grizzlies", "Barnstormers", "Tides",    "Whippets",
};

constexpr std::string_view kPalette[] = {
    "#1B365D", "#C8102E", "#00843D", "#FFB81C", "#5F259F", "#E35205", "#0072CE", "#862633",
    "#A2AAAD", "#003A70", "#FFD100", "#154734", "#9B2335", "#41B6E6", "#DA291C", "#2D2926",
    "#6CACE4", "#F2A900", "#7A9A01", "#B9975B", "#00205B", "#FF671F", "#512D6D", "#FFFFFF",
};

struct LevelLeagueNames {
  std::array<std::string_view, 3> names;
  std::array<std::string_view, 3> abbreviations;
};

constexpr LevelLeagueNames kMinorLeagueNames[5] = {
    {{"Pacific Coast Circuit", "Atlantic Coast Circuit", "Heartland Circuit"},
     {"PCC", "ACC", "HLC"}},
    {{"Eastern Federation", "Southern Federation", "Plains Federation"}, {"EF", "SF", "PF"}},
    {{"Midwest Association", "Carolina Association", "Valley Association"}, {"MWA", "CA", "VA"}},
    {{"Northwest Summer League", "New England Summer League", "Appalachian Summer League"},
     {"NWSL", "NESL", "APSL"}},
    {{"Gulf Rookie League", "Desert Rookie League", "Mountain Rookie League"},
     {"GRL", "DRL", "MRL"}},
};
constexpr int kTeamsPerMinorLeague = 12;

int NationIdByAbbreviation(const World& world, std::string_view abbreviation) {
  for (const auto& n : world.nations) {
    if (n.abbreviation == abbreviation) return n.id;
  }
  return world.nations.front().id;
}

std::string LogoFileFor(const std::string& place, const std::string& nickname, LogoKind kind) {
  const std::string stem = FileStem(place + " " + nickname);
  switch (kind) {
    case LogoKind::UpperPng:
      return stem + ".PNG";
    case LogoKind::Gif:
      return stem + ".gif";
    default:
      return stem + ".png";
  }
}

LogoKind LogoKindFor(int teamId) {
  // A few teams name their logo in a form that a lowercase ".png" test passes over.
  if (teamId % 23 == 11) return LogoKind::Gif;
  if (teamId % 23 == 17) return LogoKind::UpperPng;
  return LogoKind::Png;
}

std::string AffiliateAbbreviation(const std::string& place, int level) {
  std::string abbr;
  for (char c : FileStem(place)) {
    if (c != '_' && abbr.size() < 3) abbr += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  return abbr + std::to_string(level);
}

}  // namespace

int MajorTeamCount(int teams) {
  return std::min(teams, kMaxMajorTeams);
}

std::string FileStem(std::string_view utf8) {
  // Windows-1252 letters 0xC0..0xFF without their accents.
  static constexpr std::string_view kPlain =
      "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo_ouuuuyty";
  static_assert(kPlain.size() == 64);
  static_assert(kPlain.size() == 64);
  std::string stem;
  for (char ch : ToWindows1252(utf8)) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 0xC0) c = static_cast<unsigned char>(kPlain[c - 0xC0]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (keep) {
      stem += static_cast<char>(c);
    } else if (!stem.empty() && stem.back() != '_') {
      stem += '_';
    }
  }
  while (!stem.empty() && stem.back() == '_') stem.pop_back();
  return stem;
}

void BuildLeaguesAndTeams(World& world, const SampleGameOptions& options) {
  const int usa = NationIdByAbbreviation(world, "USA");
  const int canada = NationIdByAbbreviation(world, "CAN");
  const int majors = MajorTeamCount(options.teams);

  League major;
  major.id = 1;
  major.name = options.awkward ? "Continental Association of Professional Baseball Clubs"
                               : "Continental Baseball League";
  major.abbreviation = "CBL";
  major.nationId = usa;
  major.logoFile = "cbl_logo.png";
  major.level = 1;
  world.leagues.push_back(major);

  for (int k = 0; k < majors; ++k) {
    const auto& seed = kMajorTeams[k];
    Team t;
    t.id = k + 1;
    t.place = seed.place;
    t.nickname = seed.nickname;
    if (options.awkward && t.id == 15) {
      // Read fields that need quoting: a separator in one, doubled quotes in the other.
      t.place = "Portland; Oregon";
      t.nickname = "\"Big\" Beavers";
    }
    t.abbreviation = seed.abbreviation;
    t.logoKind = LogoKindFor(t.id);
    t.logoFile = LogoFileFor(std::string(seed.place), t.nickname, t.logoKind);
    t.leagueId = 1;
    const int half = (majors + 1) / 2;
    t.subLeague = k < half ? 1 : 2;
    t.division = (k < half ? k : k - half) / 5 + 1;
    t.organization = t.id;
    t.level = 1;
    t.nationId = (seed.abbreviation == "TOR" || seed.abbreviation == "MON") ? canada : usa;
    t.backgroundColor = seed.background;
    t.textColor = seed.text;
    t.combinedColors = t.id % 6 == 4;
    world.teams.push_back(std::move(t));
  }

  // Affiliates, spread evenly over levels 2..6; each level's teams belong to organizations 1, 2,
  // ...
  const int affiliates = options.teams - majors;
  int nextTeamId = majors + 1;
  int affiliateIndex = 0;
  for (int level = 2; level <= 6; ++level) {
    const int levelIndex = level - 2;
    const int count = affiliates / 5 + (levelIndex < affiliates % 5 ? 1 : 0);
    if (count == 0) continue;
    const int leagueCount = (count + kTeamsPerMinorLeague - 1) / kTeamsPerMinorLeague;
    const int firstLeagueId = static_cast<int>(world.leagues.size()) + 1;
    for (int j = 0; j < leagueCount; ++j) {
      const auto& names = kMinorLeagueNames[levelIndex];
      League league;
      league.id = firstLeagueId + j;
      league.name = names.names[static_cast<std::size_t>(j % 3)];
      league.abbreviation = names.abbreviations[static_cast<std::size_t>(j % 3)];
      if (j >= 3) {
        const std::string number = std::to_string(j / 3 + 1);
        league.name.append(" ").append(number);
        league.abbreviation.append(number);
      }
      league.nationId = usa;
      league.logoFile = FileStem(league.abbreviation) + "_logo.png";
      league.parentLeagueId = 1;
      league.level = level;
      world.leagues.push_back(std::move(league));
    }
    for (int k = 0; k < count; ++k, ++affiliateIndex) {
      constexpr int places = std::size(kAffiliatePlaces);
      constexpr int nicknames = std::size(kAffiliateNicknames);
      constexpr int colours = std::size(kPalette);
      Team t;
      t.id = nextTeamId++;
      t.place = kAffiliatePlaces[affiliateIndex % places];
      t.nickname = kAffiliateNicknames[(affiliateIndex * 11 + affiliateIndex / places) % nicknames];
      t.abbreviation = AffiliateAbbreviation(t.place, level);
      t.logoKind = LogoKindFor(t.id);
      t.logoFile = LogoFileFor(t.place, t.nickname, t.logoKind);
      t.leagueId = firstLeagueId + k / ((count + leagueCount - 1) / leagueCount);
      t.organization = k % majors + 1;
      t.level = level;
      t.nationId = usa;
      const int bg = (affiliateIndex * 5) % colours;
      const int text = (bg + 7 + affiliateIndex % 9) % colours;
      t.backgroundColor = kPalette[bg];
      t.textColor = kPalette[text];
      t.combinedColors = t.id % 6 == 4;
      world.teams.push_back(std::move(t));
    }
  }
}

}  // namespace likentor::samplegame
