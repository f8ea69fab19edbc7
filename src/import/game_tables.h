#pragma once

// Names and places of one saved game's data: the per-game tables in the program's data folder
// (named after the saved game) and the game's exports in the saved game's import_export folder.

#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

class Cursor;

std::string LeaguesTableName(std::string_view game);   // game + "_leagues.db"
std::string TeamsTableName(std::string_view game);     // game + "_teams.db"
std::string PlayersTableName(std::string_view game);   // game + "_players.db"
std::string BattingTableName(std::string_view game);   // game + "_batting.db"
std::string PitchingTableName(std::string_view game);  // game + "_pitching.db"

inline constexpr std::string_view kLeaguesExport = "leagues.csv";
inline constexpr std::string_view kTeamsExport = "teams.csv";
inline constexpr std::string_view kPlayersExport = "players.csv";
inline constexpr std::string_view kBattingExport = "players_career_batting_stats.csv";
inline constexpr std::string_view kPitchingExport = "players_career_pitching_stats.csv";

// GameFolder/data/saved_games/<game>.lg/import_export/<file>.
std::filesystem::path ExportFile(const std::filesystem::path& gameFolder, std::string_view game,
                                 std::string_view file);

// The game's exports separate their fields with semicolons.
inline constexpr char kExportSeparator = ';';

// Compare-and-write on a row in edit mode: the field is written only when its stored value differs
// (a blank number differs from every number; a blank text equals the empty text).
void WriteTextIfChanged(Cursor& row, std::string_view field, std::string_view value);
void WriteIntIfChanged(Cursor& row, std::string_view field, int value);

}  // namespace likentor
