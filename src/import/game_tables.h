#pragma once

// Names and places of one saved game's data: the per-game tables in the program's data folder
// (named after the saved game) and the game's exports in the saved game's import_export folder.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace likentor {

class Cursor;

std::string LeaguesTableName(std::string_view game);   // game + "_leagues.db"
std::string TeamsTableName(std::string_view game);     // game + "_teams.db"
std::string PlayersTableName(std::string_view game);   // game + "_players.db"
std::string BattingTableName(std::string_view game);   // game + "_batting.db"
std::string PitchingTableName(std::string_view game);  // game + "_pitching.db"
// The working table an import fills before it takes the place of `table`: table + ".working", a
// name no table of a game ends in.
std::string WorkingTableName(std::string_view table);

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

// Told by a long import how many of its export's records it has read, every kRowsPerReport
// records. It may throw to stop the import; the import then leaves its table as it was.
using RowsRead = std::function<void(std::size_t read)>;
inline constexpr std::size_t kRowsPerReport = 250;

// Counts the records of an import and tells `rowsRead` (when set) every kRowsPerReport of them.
class RowCounter {
 public:
  explicit RowCounter(const RowsRead& rowsRead) : rowsRead_(rowsRead) {}
  void Next() {
    if (++read_ % kRowsPerReport == 0 && rowsRead_) rowsRead_(read_);
  }

 private:
  const RowsRead& rowsRead_;
  std::size_t read_ = 0;
};

// Compare-and-write on a row in edit mode: the field is written only when its stored value differs
// (a blank number differs from every number; a blank text equals the empty text).
void WriteTextIfChanged(Cursor& row, std::string_view field, std::string_view value);
void WriteIntIfChanged(Cursor& row, std::string_view field, int value);

}  // namespace likentor
