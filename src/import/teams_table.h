#pragma once

// The per-game teams table, <game>_teams.db, merged from the game's teams.csv on every load. A new
// team gets its custom uniform looked up once; a known team keeps the one it has. The path of the
// picture is stored whole (relative to the program folder when the full one is longer than the
// field holds); one that cannot be stored whole gives "none" and a line in the error log.

#include <filesystem>
#include <string_view>

namespace likentor {

class Database;
class ErrorLog;
class Table;
struct SavedGame;

void CreateTeamsTable(Database& db, const SavedGame& game);

// Merges the teams export into the table, then opens `teamsTable` on it. Failures as for the
// leagues: refused rows are logged and skipped, anything else ends the import with an Error naming
// the file and line, and the table stays as it was before the import.
void UpdateTeamsTable(Database& db, ErrorLog& log, const std::filesystem::path& programFolder,
                      const SavedGame& game, Table& teamsTable);

}  // namespace likentor
