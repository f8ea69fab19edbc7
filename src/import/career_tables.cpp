#include "import/career_tables.h"

#include <algorithm>
#include <limits>
#include <string>

#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "import/game_tables.h"
#include "shell/error_log.h"

namespace likentor {

namespace {

// What tells the two career tables apart.
struct CareerKind {
  std::string tableName;
  std::string_view exportFile;
  std::size_t countField;   // the field of the export holding the count
  std::string_view column;  // "ab" or "ip"
};

// The field of a career line that is "1" on the line of a whole season.
constexpr std::size_t kWholeSeasonField = 6;

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// The level of every team, read once: a line's team is looked up for each of up to a million
// lines, and the teams table is small.
std::unordered_map<int, int> TeamLevels(Table& teamsTable) {
  std::unordered_map<int, int> levels;
  for (teamsTable.First(); !teamsTable.Eof(); teamsTable.Next()) {
    levels.emplace(teamsTable.GetInt("team_id"), teamsTable.GetInt("level"));
  }
  teamsTable.First();
  return levels;
}

CareerSums CreateCareerTable(Database& db, ErrorLog& log, const CareerKind& kind,
                             const SavedGame& game, Table& teamsTable, const RowsRead& rowsRead) {
  // The new table is filled beside the old one and takes its place only once whole: an export
  // that cannot be read, or a load that stops, leaves the table of the last complete import.
  const std::string working = WorkingTableName(kind.tableName);
  db.CreateTable(working, {
                              {"line_id", FieldType::AutoIncrement, 0, true},
                              {"player_id", FieldType::Integer, 0, true},
                              {"year", FieldType::Integer, 0, true},
                              {"team_id", FieldType::Integer, 0, true},
                              {std::string(kind.column), FieldType::Integer, 0, true},
                          });
  CareerSums sums;
  try {
    const std::unordered_map<int, int> levels = TeamLevels(teamsTable);
    Table table(db, working);
    TableTransaction transaction(db, working);
    RowCounter counter(rowsRead);
    const std::string refused = "Error posting record in " + kind.tableName;
    // The fields read are the first few of each line's twenty-odd: the rest are not split.
    const std::size_t fieldsRead = std::max<std::size_t>(kWholeSeasonField, kind.countField) + 1;
    ForEachRecord(game.Export(kind.exportFile), kExportSeparator, Heading::Skip, fieldsRead,
                  [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                    counter.Next();
                    // Only the whole-season line counts; nothing else of another line is read.
                    if (FieldAt(file, fields, kWholeSeasonField) != "1") return;
                    const int teamId = WholeNumberAt(file, fields, 2);
                    const auto level = levels.find(teamId);
                    if (level != levels.end() && level->second > 1) return;
                    // The test is on the text: a count written "00" goes in.
                    if (FieldAt(file, fields, kind.countField) == "0") return;

                    const int playerId = WholeNumberAt(file, fields, 0);
                    const int year = WholeNumberAt(file, fields, 1);
                    const int count = WholeNumberAt(file, fields, kind.countField);
                    table.Append();
                    table.SetInt("player_id", playerId);
                    table.SetInt("year", year);
                    table.SetInt("team_id", teamId);
                    table.SetInt(kind.column, count);
                    if (PostOrCancel(table, log, refused)) {
                      sums.Add(playerId, teamId, count);
                      sums.AddSeason(playerId, year);
                    }
                  });
    transaction.Commit();
    table.Close();
    db.ReplaceTable(kind.tableName, working);
  } catch (...) {
    try {
      db.DeleteTable(working);
    } catch (const Error&) {
      // A working table left behind is made anew by the next import.
    }
    throw;
  }
  return sums;
}

}  // namespace

void CareerSums::Add(int playerId, int teamId, int count) {
  std::vector<TeamCount>& teams = players_[playerId];
  for (TeamCount& t : teams) {
    if (t.teamId == teamId) {
      t.count += count;
      return;
    }
  }
  teams.push_back({teamId, count});
}

CareerFigures CareerSums::Get(int playerId) const {
  const auto found = players_.find(playerId);
  if (found == players_.end() || found->second.empty()) return {};
  std::int64_t total = 0;
  const TeamCount* best = nullptr;
  for (const TeamCount& t : found->second) {
    total += t.count;
    if (best == nullptr || t.count > best->count ||
        (t.count == best->count && t.teamId < best->teamId)) {
      best = &t;
    }
  }
  return {ClampToInt(total), best->teamId};
}

void CareerSums::AddSeason(int playerId, int year) {
  const auto [first, added] = firstSeasons_.emplace(playerId, year);
  if (!added && year < first->second) first->second = year;
  if (!lastSeason_ || year > *lastSeason_) lastSeason_ = year;
}

std::optional<int> CareerSums::FirstSeason(int playerId) const {
  const auto found = firstSeasons_.find(playerId);
  if (found == firstSeasons_.end()) return std::nullopt;
  return found->second;
}

CareerSums CreateBattingTable(Database& db, ErrorLog& log, const SavedGame& game, Table& teamsTable,
                              const RowsRead& rowsRead) {
  return CreateCareerTable(db, log, {game.battingTable, kBattingExport, 8, "ab"}, game, teamsTable,
                           rowsRead);
}

CareerSums CreatePitchingTable(Database& db, ErrorLog& log, const SavedGame& game,
                               Table& teamsTable, const RowsRead& rowsRead) {
  return CreateCareerTable(db, log, {game.pitchingTable, kPitchingExport, 7, "ip"}, game,
                           teamsTable, rowsRead);
}

CareerFigures GetCareerAB(const CareerSums& batting, int playerId) {
  return batting.Get(playerId);
}

CareerFigures GetCareerIP(const CareerSums& pitching, int playerId) {
  return pitching.Get(playerId);
}

int CareerSeasons(const CareerSums& batting, const CareerSums& pitching, int playerId) {
  std::optional<int> first = batting.FirstSeason(playerId);
  if (const std::optional<int> pitched = pitching.FirstSeason(playerId)) {
    first = first ? std::min(*first, *pitched) : *pitched;
  }
  if (!first) return 0;
  const int last =
      std::max(batting.LastSeason().value_or(*first), pitching.LastSeason().value_or(*first));
  return ClampToInt(std::int64_t{last} - *first + 1);
}

}  // namespace likentor
