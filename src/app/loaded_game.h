#pragma once

// What the main window holds of the loaded saved game (its open leagues and teams tables and its
// queries) and what it shows of it: the caption, the status text, the team box and the page shown.
// The window displays this state; the load and close commands (game_load.h) change it.

#include <string>
#include <string_view>
#include <vector>

#include "database/table_store.h"

namespace likentor {

inline constexpr std::string_view kIdleCaption = "Likentor";
inline constexpr std::string_view kLoadedCaptionPrefix = "Likentor: ";
inline constexpr std::string_view kNoGameLoaded = "No game loaded.";

// One entry of the team box: the text shown ("team_name nickname") and the team it stands for, so
// that choosing a team never depends on its place in the list.
struct TeamItem {
  int teamId = 0;
  std::string text;
  bool operator==(const TeamItem&) const = default;
};

struct LoadedGame {
  // Open while a game is loaded (the leagues and teams tables from their imports on).
  Table LeaguesTable;
  Table TeamsTable;
  // The one live selection over the players table (batch runs, player page, locks).
  Query PlayersQuery;
  // Kept for the career-table selections; closed and without SQL between uses.
  Query BattingQuery;
  Query PitchingQuery;

  std::vector<TeamItem> TeamLookupBox;
  std::string caption{kIdleCaption};
  std::string statusText{kNoGameLoaded};
  int pageIndex = 0;  // the page the window shows; 0 is the dashboard
};

}  // namespace likentor
