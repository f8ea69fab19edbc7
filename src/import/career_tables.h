#pragma once

// The career batting and pitching tables, <game>_batting.db and <game>_pitching.db, rebuilt from
// the game's career exports on every load, and every player's career total and main team summed
// while they are rebuilt, so that the players import asks for a player's figures without reading
// a career table again.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace likentor {

class Database;
class ErrorLog;
class Table;
struct SavedGame;

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

 private:
  struct TeamCount {
    int teamId;
    std::int64_t count;
  };
  std::unordered_map<int, std::vector<TeamCount>> players_;
};

// Drops the batting table, creates it anew and fills it with the lines of the batting export that
// count: field 6 is exactly "1", the team (field 2) is not a team of a lower level than 1 in
// `teamsTable` (a team missing from it counts), and the at-bats text (field 8) is not exactly
// "0". Returns the sums of the posted lines. A refused row is logged and skipped; a missing
// export, a short record or a bad number ends the import with an Error naming the file and line,
// and what was posted stays committed. Leaves `teamsTable` on its first row.
CareerSums CreateBattingTable(Database& db, ErrorLog& log, const SavedGame& game,
                              Table& teamsTable);
// The same for the pitching table, the pitching export and its innings (field 7).
CareerSums CreatePitchingTable(Database& db, ErrorLog& log, const SavedGame& game,
                               Table& teamsTable);

// Career at-bats and main team of a player, from the sums of the batting table.
CareerFigures GetCareerAB(const CareerSums& batting, int playerId);
// Career innings and main team of a player, from the sums of the pitching table.
CareerFigures GetCareerIP(const CareerSums& pitching, int playerId);

}  // namespace likentor
