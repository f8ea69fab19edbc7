#pragma once

// The career batting and pitching tables, <game>_batting.db and <game>_pitching.db, made anew from
// the game's career exports on every load, and every player's career total and main team summed
// while they are rebuilt, so that the players import asks for a player's figures without reading
// a career table again.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/game_tables.h"

namespace likentor {

class Database;
class ErrorLog;
class Table;

struct CareerFigures {
  int total = 0;     // at-bats or innings of the kept lines
  int mainTeam = 0;  // the team with the greatest total; 0 without kept lines
};

// Per player and team, the counts of the lines that went into a career table.
class CareerSums {
 public:
  void Add(int playerId, int teamId, int count);
  // The total over all the player's lines, and the team of his greatest total, a tie going to the
  // lowest team id. Team ids are taken as they are: no numbering is assumed.
  CareerFigures Get(int playerId) const;
  std::size_t PlayerCount() const { return players_.size(); }

  // The season of a kept line, for the first season of each player and the last of the game.
  void AddSeason(int playerId, int year);
  // The player's first season, none without kept lines.
  std::optional<int> FirstSeason(int playerId) const;
  // The last season of any kept line, none without lines.
  std::optional<int> LastSeason() const { return lastSeason_; }

 private:
  struct TeamCount {
    int teamId;
    std::int64_t count;
  };
  std::unordered_map<int, std::vector<TeamCount>> players_;
  std::unordered_map<int, int> firstSeasons_;
  std::optional<int> lastSeason_;
};

// Makes the batting table anew from the lines of the batting export that count: field 6 is
// exactly "1", the team (field 2) is not a team of a lower level than 1 in `teamsTable` (a team
// missing from it counts), and the at-bats text (field 8) is not exactly "0". The new table is
// filled in a working table of its own beside the old one and replaces it only when the whole
// export went in. Returns the sums of the posted lines. A refused row is logged and skipped; a
// missing or unreadable export, a short record or a bad number ends the import with an Error
// naming the file (and line), and the table stays as it was. `rowsRead` is told the records read
// every kRowsPerReport records; what it throws ends the import the same way. Leaves `teamsTable`
// on its first row.
CareerSums CreateBattingTable(Database& db, ErrorLog& log, const SavedGame& game, Table& teamsTable,
                              const RowsRead& rowsRead = {});
// The same for the pitching table, the pitching export and its innings (field 7).
CareerSums CreatePitchingTable(Database& db, ErrorLog& log, const SavedGame& game,
                               Table& teamsTable, const RowsRead& rowsRead = {});

// Career at-bats and main team of a player, from the sums of the batting table.
CareerFigures GetCareerAB(const CareerSums& batting, int playerId);
// Career innings and main team of a player, from the sums of the pitching table.
CareerFigures GetCareerIP(const CareerSums& pitching, int playerId);

// The length of a player's career in seasons, counted from his first line in either career table
// to the last season of the game, both included; 0 for a player without lines.
int CareerSeasons(const CareerSums& batting, const CareerSums& pitching, int playerId);

}  // namespace likentor
