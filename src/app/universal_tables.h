#pragma once

// The tables shared by all saved games (games, nations, facial hair, the four face catalogues,
// accessories): made at setup, open from start-up until closing.

#include "database/table_store.h"

namespace likentor {

class Session;

// The shared tables the session keeps open between start-up and closing.
struct UniversalTables {};

// First-run setup, after the data folder was made: creates and fills every shared table.
void CreateUniversalTables(Session& session);
// Start-up, before the tables are opened: makes again the shared tables whose files are missing
// (the nations table is rebuilt when data/nations.db was deleted).
void RebuildMissingTables(Session& session);
// Opens and closes the shared tables.
void ActivateUniversalTables(Session& session);
void DeActivateUniversalTables(Session& session);

}  // namespace likentor
