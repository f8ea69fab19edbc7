#pragma once

// The per-game players table, <game>_players.db, merged from the game's players.csv on every load.
// A player first seen gets his look drawn once, a lock when a photo of him already exists, and the
// flag that his photo is due; a player seen before keeps his look and lock, has the export's facts
// refreshed, is flagged again only when he moved to another team (other than team 0), and has his
// career figures recomputed.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "import/game_tables.h"
#include "import/players_fields.h"

namespace likentor {

class AppearanceDraws;
class CareerSums;
class Database;
class ErrorLog;
class PictureNames;

void CreatePlayersTable(Database& db, const SavedGame& game);

// Adds to a players table made by an earlier version the fields it lacks (career_seasons,
// age_step), blank in every row (a blank age step reads as 0). Nothing when they are there.
void AddMissingPlayersFields(Database& db, const SavedGame& game);

// Merges the players export into the table. Career figures come from the sums of the career
// tables made by this load; the looks of new players from `looks`, drawn in the order
// ethnicity, face, hair colour, facial hair. The merge is one transaction: a refused row is
// cancelled, logged and skipped; a missing export, a short record or a bad number ends the import
// with an Error naming the file and line, and the table stays as it was before the import. A
// picture folder that is there but cannot be read ends the import before any row, with an Error
// naming the folder. With `spreadFaces` (the game's setting spread_faces), a new player on an
// active roster whose drawn face a teammate already wears draws his face again, a few times at
// most. `rowsRead` is told the records read every kRowsPerReport records; what it throws ends the
// import as a failure does, with the table as it was.
// Every player's career length in seasons is written on each load (career_seasons). With
// `playersAge` (the game's setting players_age) a player's age step is the one of his seasons,
// else 0; a known player whose age step differs from the one of his last portrait (age_step) is
// flagged for a new photo.
void UpdatePlayersTable(Database& db, ErrorLog& log, const SavedGame& game,
                        const CareerSums& batting, const CareerSums& pitching,
                        AppearanceDraws& looks, bool spreadFaces = false,
                        const RowsRead& rowsRead = {}, bool playersAge = false);

// What a load does for the age steps of known players, for a load that takes the tables of the
// last one as they are (the exports unchanged): flags for a new photo every player whose age step
// (by his career length with `playersAge`, else 0) differs from the one of his last portrait,
// since the setting may have changed after that load. One statement; returns how many rows it
// flagged. Nothing for a players table without the fields.
int FlagAgedPlayers(Database& db, const SavedGame& game, bool playersAge);

// The SQL condition FlagAgedPlayers flags by: the player's age step (by his career length with
// `playersAge`, else 0) differs from the one of his last portrait. None for a players table
// without the fields.
std::optional<std::string> AgedCondition(Database& db, const SavedGame& game, bool playersAge);

// True when the saved game's picture folder holds a photo of the player under one of the four
// names the game uses: first_last.jpg, first_last.png, Player_<id>.jpg, Player_<id>.png (the names
// and the id as the export spells them). A portrait that this program wrote (it carries our mark)
// does not count: only a picture of the user's own locks the player. Throws Error naming the file
// when whether it is there cannot be told (no right to look in the folder). With `pictures` (the
// folder's names, read once), only the names the folder may hold are looked for, each once: the
// answer is kept in `pictures` for the next player of that name.
bool PlayerPhotoExists(const std::filesystem::path& picturesFolder, std::string_view firstName,
                       std::string_view lastName, std::string_view idText,
                       PictureNames* pictures = nullptr);

}  // namespace likentor
