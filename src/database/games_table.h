#pragma once

#include <string_view>

namespace likentor {

class Database;
class ErrorLog;
class Table;

inline constexpr std::string_view kGamesTable = "games.db";
inline constexpr int kUniverseNameSize = 30;
// New players' faces differ from their teammates' (off for a new game, and for games.db files
// made before the setting existed).
inline constexpr std::string_view kSpreadFacesField = "spread_faces";
// Portraits show how long a player's career is (off for a new game and for older games.db files).
inline constexpr std::string_view kPlayersAgeField = "players_age";

// The photo settings of every saved game ever loaded, one row per game, created empty at setup.
void CreateGamesTable(Database& db);

// Adds to a games table made by an earlier version the fields it lacks (spread_faces), empty in
// every row, which reads as off. Nothing when they are there. Error when the file cannot be
// changed.
void AddMissingGamesFields(Database& db);

// Makes the row of the saved game `name` current on the open games table, adding it with the
// default settings when there is none. Names are matched case-sensitively as they are stored, so a
// name longer than the field is matched by its stored (cut) form and never added twice.
void CheckGamesTable(Table& gamesTable, ErrorLog& log, std::string_view name);

}  // namespace likentor
