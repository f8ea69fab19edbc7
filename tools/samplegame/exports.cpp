#include "samplegame/exports.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "samplegame/export_file.h"
#include "samplegame/export_helpers.h"
#include "samplegame/sample_random.h"

namespace likentor::samplegame {

namespace fs = std::filesystem;

// Plausible filler that needs no random state: the same inputs give the same number.
int Filler(long long a, long long b, int field, int lo, int hi) {
  const auto h = Mix64(static_cast<std::uint64_t>(a) * 1000003ULL +
                       static_cast<std::uint64_t>(b) * 7919ULL + static_cast<std::uint64_t>(field));
  return lo + static_cast<int>(h % static_cast<std::uint64_t>(hi - lo + 1));
}

std::string Date(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::size_t FinishExport(ExportFile& file, const SampleGameOptions& options) {
  // The robustness tests want a blank line at the end of every export.
  if (options.awkward) file.BlankLine();
  const std::size_t bytes = file.BytesWritten();
  file.Close();
  return bytes;
}

namespace {

using Names = std::string_view;

constexpr Names kLeagueFields[] = {"league_id",
                                   "name",
                                   "abbr",
                                   "nation_id",
                                   "language_id",
                                   "gender",
                                   "historical_year",
                                   "logo_file_name",
                                   "players_path",
                                   "start_date",
                                   "season_year",
                                   "num_sub_leagues",
                                   "num_divisions",
                                   "games_per_season",
                                   "dh_rule",
                                   "pitcher_award_name",
                                   "mvp_award_name",
                                   "rookie_award_name",
                                   "defense_award_name",
                                   "fictional_players",
                                   "trade_deadline",
                                   "all_star_game",
                                   "all_star_date",
                                   "draft_rounds",
                                   "roster_active",
                                   "roster_secondary",
                                   "min_age",
                                   "max_age",
                                   "salary_cap",
                                   "parent_league_id",
                                   "league_state",
                                   "playoff_teams",
                                   "current_date",
                                   "league_level",
                                   "total_teams",
                                   "sim_speed",
                                   "notes",
                                   "last_modified"};
static_assert(std::size(kLeagueFields) == 38);

constexpr Names kTeamFields[] = {"team_id",
                                 "name",
                                 "abbr",
                                 "nickname",
                                 "logo_file_name",
                                 "city_id",
                                 "park_id",
                                 "nation_id",
                                 "league_id",
                                 "sub_league_id",
                                 "division_id",
                                 "parent_team_id",
                                 "level",
                                 "gender",
                                 "human_team",
                                 "human_id",
                                 "allstar_team",
                                 "background_color_id",
                                 "text_color_id",
                                 "hat_main_color",
                                 "hat_visor_color",
                                 "jersey_main_color",
                                 "jersey_pin_color",
                                 "historical_id"};
static_assert(std::size(kTeamFields) == 24);

constexpr Names kPlayerFields[] = {"player_id",
                                   "first_name",
                                   "last_name",
                                   "nick_name",
                                   "uniform_number",
                                   "date_of_birth",
                                   "city_of_birth_id",
                                   "nation_id",
                                   "second_nation_id",
                                   "weight",
                                   "height",
                                   "retired",
                                   "free_agent",
                                   "last_league_id",
                                   "last_team_id",
                                   "team_id",
                                   "league_id",
                                   "level_id",
                                   "organization_id",
                                   "last_organization_id",
                                   "language_ids",
                                   "experience",
                                   "local_pop",
                                   "national_pop",
                                   "draft_year",
                                   "draft_round",
                                   "bats",
                                   "throws",
                                   "age",
                                   "injury_is_injured",
                                   "injury_days_left",
                                   "draft_pick",
                                   "draft_team_id",
                                   "hall_of_fame",
                                   "inducted",
                                   "contract_years",
                                   "salary",
                                   "service_years",
                                   "option_years",
                                   "morale",
                                   "personality_leader",
                                   "personality_loyalty",
                                   "personality_greed",
                                   "personality_work_ethic",
                                   "personality_intelligence",
                                   "batting_contact",
                                   "batting_gap",
                                   "batting_power",
                                   "batting_eye",
                                   "batting_strikeouts",
                                   "pitching_stuff",
                                   "pitching_movement",
                                   "pitching_control",
                                   "fielding_range",
                                   "fielding_error",
                                   "fielding_arm",
                                   "running_speed",
                                   "running_stealing",
                                   "position",
                                   "role",
                                   "position_name",
                                   "injury_text",
                                   "last_year_played",
                                   "prospect",
                                   "notes",
                                   "last_modified"};
static_assert(std::size(kPlayerFields) == 66);

constexpr Names kPositionNames[] = {"P", "P", "C", "1B", "2B", "3B", "SS", "LF", "CF", "RF"};

std::size_t WriteLeagues(const World& world, const SampleGameOptions& options,
                         const fs::path& path) {
  ExportFile f(path.string(), ';', options.quoteText);
  f.Header(kLeagueFields);
  const std::string stamp = Date(world.currentYear, 10, 1) + " 12:00:00";
  for (const auto& l : world.leagues) {
    const bool major = l.level == 1;
    int teams = 0;
    for (const auto& t : world.teams) teams += t.leagueId == l.id ? 1 : 0;
    f.Int(l.id);
    f.Text(l.name);
    f.Text(l.abbreviation);
    f.Int(l.nationId);
    f.Int(1);
    f.Int(0);
    f.Int(0);
    f.Text(l.logoFile);
    f.Text("none");
    f.Raw(Date(world.currentYear, 4, 1));
    f.Int(world.currentYear);
    f.Int(major ? 2 : 0);
    f.Int(major ? 6 : 0);
    f.Int(major ? 162 : 140 - 10 * l.level);
    f.Int(1);
    // Quotes and a separator inside a field that is not read, so that a reader that splits it
    // wrongly reads the later fields at the wrong places.
    f.Text(options.awkward && major ? "Pitcher \"Ace\"; of the Year" : "Pitcher of the Year");
    f.Text("Most Valuable Player");
    f.Text("Rookie of the Year");
    f.Text("Golden Glove");
    f.Int(1);
    f.Raw(Date(world.currentYear, 7, 31));
    f.Int(major ? 1 : 0);
    f.Raw(Date(world.currentYear, 7, 12));
    f.Int(major ? 50 : 0);
    f.Int(major ? 26 : 25);
    f.Int(40);
    f.Int(16);
    f.Int(45);
    f.Int(0);
    f.Int(l.parentLeagueId);
    f.Int(1);
    f.Int(major ? 12 : 4);
    f.Raw(Date(world.currentYear, 10, 1));
    f.Int(l.level);
    f.Int(teams);
    f.Int(3);
    f.Text("");
    f.Raw(stamp);
    f.EndRecord();
  }
  return FinishExport(f, options);
}

std::size_t WriteTeams(const World& world, const SampleGameOptions& options, const fs::path& path) {
  ExportFile f(path.string(), ';', options.quoteText);
  f.Header(kTeamFields);
  for (const auto& t : world.teams) {
    f.Int(t.id);
    f.Text(t.place);
    f.Text(t.abbreviation);
    f.Text(t.nickname);
    f.Text(t.logoFile);
    f.Int(100 + t.id);
    f.Int(t.id);
    f.Int(t.nationId);
    f.Int(t.leagueId);
    f.Int(t.subLeague);
    f.Int(t.division);
    f.Int(t.level == 1 ? 0 : t.organization);
    f.Int(t.level);
    f.Int(0);
    f.Int(t.id == 1 ? 1 : 0);
    f.Int(t.id == 1 ? 1 : 0);
    f.Int(0);
    if (t.combinedColors) {
      f.Text(t.backgroundColor + ", " + t.textColor);
      f.Text("");
    } else {
      f.Text(t.backgroundColor);
      f.Text(t.textColor);
    }
    f.Text(t.backgroundColor);
    f.Text(t.textColor);
    f.Text("#FFFFFF");
    f.Text(t.textColor);
    f.Int(0);
    f.EndRecord();
  }
  return FinishExport(f, options);
}

std::size_t WritePlayers(const World& world, const SampleGameOptions& options,
                         const fs::path& path) {
  ExportFile f(path.string(), ';', options.quoteText);
  f.Header(kPlayerFields);
  std::vector<int> lastYear;
  for (const auto* lines : {&world.batting, &world.pitching}) {
    for (const auto& line : *lines) {
      const auto id = static_cast<std::size_t>(line.playerId);
      if (id >= lastYear.size()) lastYear.resize(id + 1, 0);
      lastYear[id] = std::max(lastYear[id], line.year);
    }
  }
  const std::string stamp = Date(world.currentYear, 10, 1) + " 12:00:00";
  for (const auto& p : world.players) {
    const Team* team = world.TeamById(p.teamId);
    const Team* last = world.TeamById(p.lastTeamId);
    const int age = world.currentYear - p.birthYear;
    const bool pitcher = p.position == 1;
    const auto fill = [&](int field, int lo, int hi) { return Filler(p.id, 0, field, lo, hi); };
    f.Int(p.id);
    f.Text(p.firstName);
    f.Text(p.lastName);
    f.Text(p.nickname);
    f.Int(p.uniformNumber);
    f.Raw(Date(p.birthYear, p.birthMonth, p.birthDay));
    f.Int(p.nationId * 10 + p.id % 7);
    f.Int(p.nationId);
    f.Int(p.secondNationId);
    f.Int(p.weight);
    f.Int(p.height);
    f.Int(p.retired ? 1 : 0);
    f.Int(!p.retired && p.teamId == 0 ? 1 : 0);
    f.Int(last != nullptr ? last->leagueId : 0);
    f.Int(p.lastTeamId);
    f.Int(p.teamId);
    f.Int(team != nullptr ? team->leagueId : 0);
    f.Int(team != nullptr ? team->level : 0);
    f.Int(team != nullptr ? team->organization : 0);
    f.Int(last != nullptr ? last->organization : 0);
    f.Raw("1");
    f.Int(std::max(0, age - 21));
    f.Int(fill(22, 0, 5));
    f.Int(fill(23, 0, 5));
    f.Int(p.draftYear);
    f.Int(fill(25, 1, 50));
    f.Int(p.bats);
    f.Int(p.throws);
    f.Int(age);
    f.Int(0);
    f.Int(0);
    f.Int(fill(31, 1, 30));
    f.Int(fill(32, 1, static_cast<int>(world.teams.size())));
    f.Int(0);
    f.Int(0);
    f.Int(p.teamId != 0 ? fill(35, 1, 6) : 0);
    f.Int(p.teamId != 0 ? fill(36, 300, 25000) * 1000 : 0);
    f.Int(std::max(0, age - 23));
    f.Int(fill(38, 0, 3));
    f.Int(fill(39, 1, 100));
    for (int field = 40; field <= 57; ++field) f.Int(fill(field, 20, 80));
    f.Int(p.position);
    f.Int(pitcher ? (p.regular ? 11 : 12) : 0);
    f.Text(kPositionNames[p.position]);
    f.Text("");
    const auto id = static_cast<std::size_t>(p.id);
    f.Int(id < lastYear.size() ? lastYear[id] : 0);
    f.Int(!p.retired && age < 24 ? 1 : 0);
    f.Text("");
    f.Raw(stamp);
    f.EndRecord();
  }
  return FinishExport(f, options);
}

}  // namespace

std::size_t WriteExports(const World& world, const SampleGameOptions& options,
                         const fs::path& importExportFolder) {
  std::size_t bytes = 0;
  bytes += WriteLeagues(world, options, importExportFolder / "leagues.csv");
  bytes += WriteTeams(world, options, importExportFolder / "teams.csv");
  bytes += WritePlayers(world, options, importExportFolder / "players.csv");
  bytes += WriteBatting(world, options, importExportFolder / "players_career_batting_stats.csv");
  bytes += WritePitching(world, options, importExportFolder / "players_career_pitching_stats.csv");
  return bytes;
}

}  // namespace likentor::samplegame
