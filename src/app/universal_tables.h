#pragma once

// The tables shared by all saved games (games, nations, facial hair, the four face catalogues,
// accessories): made at setup, open from start-up until closing.

#include <string>

#include "database/table_store.h"

namespace likentor {

class Session;

// The shared tables the session keeps open between start-up and closing.
struct UniversalTables {
  Table GamesTable;
  Table NationsTable;
  Table FacialHairTable;
  Table AfricanFacesTable;
  Table AsianFacesTable;
  Table CaucasianFacesTable;
  Table EastIndianFacesTable;
  Table AccessoriesTable;
};

// First-run setup, after the data folder was made: creates and fills every shared table. A game
// nation list that gives no nation is shown as an error (the table then holds nations.csv's rows).
void CreateUniversalTables(Session& session);
// Start-up, before the tables are opened: the nations table is built again when data/nations.db is
// missing (deleting it is how a user gets the shipped weights back); what goes wrong is logged, and
// the log is shown at start-up. The other shared tables are made only by the setup. A games table
// made by an earlier version gets the fields added since.
void RebuildMissingTables(Session& session);
// Opens the eight shared tables in their order. A table whose file is missing or is not a readable
// table ends the start-up with a message that gives the setup command that makes it again.
void ActivateUniversalTables(Session& session);
void DeActivateUniversalTables(Session& session);
// The command line that sets the session's folders up again, as the user would type it.
std::string SetupCommandLine(const Session& session);

}  // namespace likentor
