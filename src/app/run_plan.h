#pragma once

// The plan of a batch run: which players its selection holds, which of them get a portrait and
// why each other one is passed over. The run itself and its dry run both work from this one plan,
// so what a dry run tells is what the run then does.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_runs.h"
#include "app/photo_plan.h"
#include "app/run_backup.h"

namespace likentor {

class Session;

// Why a selected player gets no portrait, in the order the tests are made.
enum class PassOver {
  Locked,        // his photo is locked: it may be a picture of the user's own
  NotSelected,   // active or retired players are not wanted by the settings
  BelowMinimum,  // neither career total reaches its minimum
  OutOfScope,    // his team plays below the run's level scope
};
inline constexpr std::size_t kPassOverReasons = 4;
inline constexpr std::array<PassOver, kPassOverReasons> kAllPassOvers = {
    PassOver::Locked, PassOver::NotSelected, PassOver::BelowMinimum, PassOver::OutOfScope};

// "locked", "active or retired players not chosen", "below the minimums", "below the level
// chosen".
std::string_view PassOverText(PassOver reason);
// A short key for scripts: "locked", "not_selected", "below_minimum", "out_of_scope".
std::string_view PassOverKey(PassOver reason);

// Which run: the universe run with its filters and scope, or the run of one team.
struct RunChoice {
  std::optional<int> teamId;  // set for a team run
  UniverseRequest universe;   // the universe run's settings (not used by a team run)
  // Also select the players that a load would flag because their age step changed: the plan of a
  // run that loads the game first, made on the tables as the last load left them.
  bool withAged = false;

  static RunChoice Universe(const UniverseRequest& request) { return {std::nullopt, request}; }
  static RunChoice Team(int team) { return {team, {}}; }
};

// One selected player: the values his portrait is made from, his career totals (blank: none) and
// why he is passed over, if he is.
struct PlannedPlayer {
  PhotoRow row;
  std::optional<int> careerAb;
  std::optional<int> careerIp;
  bool locked = false;
  RowValues before;  // the row's values that a portrait changes, for the run's backup
  std::optional<PassOver> passOver;
};

struct RunPlan {
  std::string status;  // "Creating photos for entire universe...", "Creating photos for <team>..."
  std::string title;   // "entire universe" or the team's name and nickname
  // Every player the run's selection holds (update_required true, or aged with withAged; of the
  // team, for a team run), in the selection's order.
  std::vector<PlannedPlayer> players;

  int Selected() const { return static_cast<int>(players.size()); }
  int ToMake() const;
  int PassedOver(PassOver reason) const;
};

// The selection lines of each run: every flagged player of the game, or of one team. Which of
// them get a portrait is PassOverReason's to say.
// `alsoWhere`: a condition that selects players besides the flagged ones.
std::vector<std::string> UniverseSelection(std::string_view game, std::string_view alsoWhere = {});
std::vector<std::string> TeamSelection(std::string_view game, int teamId,
                                       std::string_view alsoWhere = {});

// The reason a player is passed over by a run, or none: the one place the selection's rules are
// written. `teamLevel` is the level of his team's row (none when the team has no row or level).
std::optional<PassOver> PassOverReason(const RunChoice& choice, const PlannedPlayer& player,
                                       std::optional<int> teamLevel);

// The plan of a run on the loaded game: reads the players table through the session's players
// query (left open on the selection; the caller clears it) and the teams table for the levels.
// Error when no game is loaded, and for a team run when the game has no such team.
RunPlan PlanRun(Session& session, const RunChoice& choice);

}  // namespace likentor
