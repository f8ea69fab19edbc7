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

// One saved game, resolved once when it is loaded: its name, its folders on the game's side and
// the names of its tables on the program's side. Everything that works on a saved game takes this
// value instead of building paths and names from the name again.
struct SavedGame {
  std::string name;
  std::filesystem::path folder;          // GameFolder/data/saved_games/<name>.lg
  std::filesystem::path exportsFolder;   // <folder>/import_export
  std::filesystem::path picturesFolder;  // <folder>/news/html/images
  std::string leaguesTable;
  std::string teamsTable;
  std::string playersTable;
  std::string battingTable;
  std::string pitchingTable;

  // An export file of the saved game, in its import_export folder.
  std::filesystem::path Export(std::string_view file) const;
};

SavedGame ResolveSavedGame(const std::filesystem::path& gameFolder, std::string_view name);

inline constexpr std::string_view kLeaguesExport = "leagues.csv";
inline constexpr std::string_view kTeamsExport = "teams.csv";
inline constexpr std::string_view kPlayersExport = "players.csv";
inline constexpr std::string_view kBattingExport = "players_career_batting_stats.csv";
inline constexpr std::string_view kPitchingExport = "players_career_pitching_stats.csv";

// The game's exports separate their fields with semicolons.
inline constexpr char kExportSeparator = ';';

// Compare-and-write on a row in edit mode: the field is written only when its stored value differs
// (a blank number differs from every number; a blank text equals the empty text).
void WriteTextIfChanged(Cursor& row, std::string_view field, std::string_view value);
void WriteIntIfChanged(Cursor& row, std::string_view field, int value);

}  // namespace likentor
