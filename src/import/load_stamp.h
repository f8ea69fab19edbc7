#pragma once

// What the last complete load of a saved game read: for each export the load imports, its size,
// modification time and a hash of its bytes. The stamp is kept in the players table's file, beside
// the players table, and written in the same transaction as the players import, the load's last
// table: a load that did not finish leaves no stamp. A command that only needs the game loaded
// skips the import when every export is as the stamp says.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/game_tables.h"

namespace likentor {

class Database;

// One export as it was read. A file that could not be looked at has size -1.
struct ExportStamp {
  std::string file;  // the export's name in the import_export folder
  std::int64_t size = -1;
  std::int64_t modifiedNs = 0;  // modification time in nanoseconds, as the file system keeps it
  std::uint64_t hash = 0;       // HashFile of its bytes
};
using LoadStamp = std::vector<ExportStamp>;

// The exports a load reads, in the order it reads them.
const std::vector<std::string_view>& LoadedExports();

// The exports of `game` as they are now, hashed whole. Taken before the import reads them, so that
// an export written while the load runs differs from its stamp at the next look.
LoadStamp StampExports(const SavedGame& game);

// Removes the stamp of the last load, when the players table has one: a load that starts no longer
// vouches for the tables until it finishes. A players table that cannot be opened has none to
// remove (the load makes it again).
void ClearLoadStamp(Database& db, const SavedGame& game);

// Writes `stamp` in the players table's file, replacing any stamp there. Runs on the players
// table's connection, so that inside the import's open transaction it commits or rolls back with
// the players rows.
void WriteLoadStamp(Database& db, const SavedGame& game, const LoadStamp& stamp);

// True when the players table holds a stamp of exactly the exports a load reads and each of them
// has now the stamp's size, modification time and hash (the hash is only computed when size and
// time agree). False when there is no stamp, the table cannot be read, or any export differs, is
// missing or cannot be read.
bool ExportsUnchanged(Database& db, const SavedGame& game);

}  // namespace likentor
