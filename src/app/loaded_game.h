#pragma once

// What the main window holds of the loaded saved game: its open leagues and teams tables and its
// queries. What the window shows of it (caption, status, team box, page) is the session's
// WindowState (window_state.h).

#include "app/window_state.h"
#include "database/table_store.h"
#include "import/game_tables.h"

namespace likentor {

struct LoadedGame {
  // The saved game being loaded or loaded: its folders and table names (empty name when none).
  SavedGame Saved;
  // Open while a game is loaded (the leagues and teams tables from their imports on).
  Table LeaguesTable;
  Table TeamsTable;
  // The one live selection over the players table (batch runs, player page, locks).
  Query PlayersQuery;
  // Kept for the career-table selections; closed and without SQL between uses.
  Query BattingQuery;
  Query PitchingQuery;
};

}  // namespace likentor
