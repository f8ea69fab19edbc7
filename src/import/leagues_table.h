#pragma once

// The per-game leagues table, <game>_leagues.db, merged from the game's leagues.csv on every load.

#include <filesystem>
#include <string_view>

namespace likentor {

class Database;
class ErrorLog;
class Table;
struct SavedGame;

// Creates the empty leagues table, replacing one of the same name.
void CreateLeaguesTable(Database& db, const SavedGame& game);

// Merges the leagues export into the table (a known league has each field written where it
// differs; a new one is appended; none is deleted), then opens `leaguesTable` on it. A refused row
// is cancelled, logged and skipped. A missing export, a short record or a bad number ends the
// import with an Error naming the file and line, and the table stays as it was before the import.
void UpdateLeaguesTable(Database& db, ErrorLog& log, const SavedGame& game, Table& leaguesTable);

}  // namespace likentor
