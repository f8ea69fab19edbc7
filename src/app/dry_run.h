#pragma once

// The dry run of a batch run: what the run would do, told without writing anything (no picture,
// no table row, no line in the error log). It works from the run's own plan (run_plan.h): how many
// players the selection holds, how many portraits the run would make and how many earlier
// pictures it would write over, how many players it passes over and why, per team and in total;
// which artwork files the portraits need that are missing or cannot be read, and which teams have
// colour texts that give no colour.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_plan.h"

namespace likentor {

class Session;

// The counts of a run, in total or for one team.
struct DryRunCounts {
  int selected = 0;
  int toMake = 0;
  int replaces = 0;  // of those to make: a picture is there already and is written over
  int aged = 0;      // of those to make: the age step changed since the last photo
  std::array<int, kPassOverReasons> passedOver{};
  int PassedOver() const;
  int PassedOver(PassOver reason) const { return passedOver[static_cast<std::size_t>(reason)]; }
};

struct DryRunTeam {
  int teamId = 0;
  std::string name;  // the team box's text; "no team" for team 0
  DryRunCounts counts;
};

// An artwork file that a portrait needs and that is missing or cannot be read.
struct ArtworkProblem {
  std::string what;  // "face", "custom uniform", "logo", "background", "uniform", ...
  std::filesystem::path file;
  bool missing = false;   // else it is there but cannot be read
  int players = 0;        // portraits that need it
  bool stopsRun = false;  // the run stops at the first portrait that needs it
  std::string detail;     // what the run does about it, or why it cannot be read
};

// A colour text of a uniform team that gives no colour.
struct ColourProblem {
  int teamId = 0;
  std::string team;   // "team 12 (Town Club)"
  std::string field;  // background_color_id or text_color_id
  std::string text;
  bool stopsRun = false;  // not a colour at all (else too short: the default colour is used)
  int players = 0;
};

struct DryRunSummary {
  std::string game;
  std::string title;  // "entire universe" or the team
  std::string scope;  // the universe run's level scope ("All Levels"); empty for a team run
  DryRunCounts total;
  std::vector<DryRunTeam> teams;  // in ascending team id, only teams with selected players
  std::vector<ArtworkProblem> artwork;
  std::vector<ColourProblem> colours;
  std::vector<std::string> notes;  // other problems met (a logo named outside the picture folder)
  int keptRuns = 0;                // 0: the run keeps no backup
};

// The dry run of a run on the loaded game. Error when no game is loaded and for a team run of a
// team the game does not have. Leaves the players query closed and empty.
DryRunSummary DryRun(Session& session, const RunChoice& choice);

// The dry run of a saved game as its last load left the tables (the command line's dry run, on a
// session that only reads): opens the game without importing anything and makes its settings row
// current. Error when it has not been loaded yet.
void OpenGameForDryRun(Session& session, std::string_view name);

// The summary as a readable text: the totals, a table per team, the artwork and colour problems.
std::string DryRunText(const DryRunSummary& summary);
// The summary as JSON, for scripts.
std::string DryRunJson(const DryRunSummary& summary);

}  // namespace likentor
