#include <algorithm>
#include <string_view>

#include "samplegame/export_file.h"
#include "samplegame/export_helpers.h"

namespace likentor::samplegame {

namespace {

using Names = std::string_view;

constexpr Names kBattingFields[] = {
    "player_id", "year", "team_id", "game_id", "league_id", "level_id", "split_id", "position",
    "ab",        "h",    "k",       "pa",      "g",         "gs",       "d",        "t",
    "hr",        "r",    "rbi",     "sb",      "bb",        "stint"};
static_assert(std::size(kBattingFields) == 22);

constexpr Names kPitchingFields[] = {
    "player_id", "year", "team_id", "game_id", "league_id", "level_id", "split_id", "ip",
    "ab",        "tb",   "ha",      "k",       "bf",        "rs",       "bb",       "r",
    "er",        "g",    "gs",      "w",       "l",         "s",        "outs"};
static_assert(std::size(kPitchingFields) == 23);

// The fields every career line starts with, player_id to split_id (game_id is always 0).
void WriteLineKey(ExportFile& f, const World& world, const CareerLine& line) {
  const Team& team = world.teams[static_cast<std::size_t>(line.teamId - 1)];
  f.Int(line.playerId);
  f.Int(line.year);
  f.Int(line.teamId);
  f.Int(0);
  f.Int(team.leagueId);
  f.Int(team.level);
  f.Int(line.split);
}

// The statistics of a line: a steady value in [lo, hi] for each field of the line.
auto FillerOf(const CareerLine& line) {
  return [&line](int field, int lo, int hi) {
    return Filler(line.playerId, line.year * 10 + line.split, field, lo, hi);
  };
}

void WriteCount(ExportFile& f, const CareerLine& line) {
  if (line.doubleZero) {
    f.Raw("00");
  } else {
    f.Int(line.count);
  }
}

}  // namespace

std::size_t WriteBatting(const World& world, const SampleGameOptions& options,
                         const std::filesystem::path& path) {
  ExportFile f(path.string(), ';', options.quoteText);
  f.Header(kBattingFields);
  for (const auto& line : world.batting) {
    const int ab = line.count;
    const auto fill = FillerOf(line);
    const int hits = ab * fill(9, 200, 320) / 1000;
    const int walks = ab * fill(20, 50, 130) / 1000;
    const int games = std::min(162, ab / 4 + (ab > 0 ? fill(12, 1, 12) : fill(12, 0, 3)));
    WriteLineKey(f, world, line);
    f.Int(line.position);
    WriteCount(f, line);
    f.Int(hits);
    f.Int(ab * fill(10, 120, 260) / 1000);
    f.Int(ab + walks + ab * fill(11, 5, 25) / 1000);
    f.Int(games);
    f.Int(games * fill(13, 50, 100) / 100);
    f.Int(hits * fill(14, 15, 25) / 100);
    f.Int(hits * fill(15, 0, 4) / 100);
    f.Int(hits * fill(16, 3, 18) / 100);
    f.Int(hits * fill(17, 40, 70) / 100);
    f.Int(hits * fill(18, 35, 75) / 100);
    f.Int(ab * fill(19, 0, 40) / 1000);
    f.Int(walks);
    f.Int(1);
    f.EndRecord();
  }
  return FinishExport(f, options);
}

std::size_t WritePitching(const World& world, const SampleGameOptions& options,
                          const std::filesystem::path& path) {
  ExportFile f(path.string(), ';', options.quoteText);
  f.Header(kPitchingFields);
  for (const auto& line : world.pitching) {
    const int ip = line.count;
    const auto fill = FillerOf(line);
    const int batters = ip * 3 + ip * fill(12, 80, 140) / 100;
    const int hits = ip * fill(10, 75, 115) / 100;
    const int runs = ip * fill(15, 30, 60) / 100;
    const int games = std::min(81, ip > 0 ? ip / 5 + fill(17, 1, 10) : fill(17, 0, 2));
    WriteLineKey(f, world, line);
    WriteCount(f, line);
    f.Int(batters - ip * fill(8, 8, 14) / 100);
    f.Int(hits + hits * fill(9, 30, 60) / 100);
    f.Int(hits);
    f.Int(ip * fill(11, 50, 110) / 100);
    f.Int(batters);
    f.Int(runs / 2);
    f.Int(ip * fill(14, 20, 45) / 100);
    f.Int(runs);
    f.Int(runs * fill(16, 85, 100) / 100);
    f.Int(games);
    f.Int(ip >= 60 ? games * fill(18, 70, 100) / 100 : 0);
    f.Int(ip / fill(19, 12, 20));
    f.Int(ip / fill(20, 14, 24));
    f.Int(ip >= 60 ? 0 : ip / fill(21, 3, 12));
    f.Int(fill(22, 0, 2));
    f.EndRecord();
  }
  return FinishExport(f, options);
}
}  // namespace likentor::samplegame
