#pragma once

// The two batch runs of the dashboard: portraits for the whole universe ("Universe at a Time",
// filtered by the game's settings and a level scope) and for one team ("Team at a Time"). Each
// selects the players whose update_required is true and who are not locked, makes their portraits
// (pixel work on worker threads, row updates on the run's thread in the selection's order), and
// ends with "Successfully created N photos.", N the portraits made.

#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/navigation.h"  // kLoadGameFirst, the game-loaded guard

namespace likentor {

class Prompts;
class Session;

inline constexpr std::string_view kPickTeamFirst = "Maybe you should pick WHICH team first.";
inline constexpr std::string_view kUniverseStatus = "Creating photos for entire universe...";

// The items of LevelScopeBox; index k >= 1 passes players whose team's level is at most k.
inline constexpr const char* kLevelScopeItems[] = {
    "All Levels",     "Major Leaguers Only",  "AAA Level and Up", "AA Level and Up",
    "A Level and Up", "Short-A Level and Up", "Rookie and Up"};
// The item of a level scope index; "no level test" for an index that names none.
inline std::string LevelScopeName(int index) {
  return index >= 0 && index < static_cast<int>(std::size(kLevelScopeItems))
             ? kLevelScopeItems[index]
             : "no level test";
}

// The settings of the universe run, as the dashboard shows them (saved or not).
struct UniverseFilters {
  bool createActivePhotos = true;
  bool createRetiredPhotos = true;
  int abMinimum = 500;
  int ipMinimum = 150;
};

// What a run did: the portraits made, whether it was stopped before its end, how many errors it
// logged (rows refused, say), and how many earlier pictures it wrote over and kept in its backup;
// when it logged errors, how many of their lines the log could not take, and the log. And which
// players it made portraits of (in the order it recorded them) and the folder of its backup (empty
// when it kept none), so that a front end can show what the run made beside what it replaced.
struct RunResult {
  int made = 0;
  bool stopped = false;
  int errors = 0;
  int kept = 0;
  int unwritten = 0;
  std::filesystem::path errorsFile{};
  std::vector<int> players{};
  std::filesystem::path backupFolder{};
  bool operator==(const RunResult&) const = default;
};

// "Successfully created N photos.", or "Stopped after N photos." for a run that was stopped. A run
// that logged errors says so instead of reporting success: "Created N photos with E errors; see
// the errors log." or "Stopped after N photos, with E errors; see the errors log." (with "(M of
// them could not be written to FILE)" before the stop when the log could not take them all). A
// run that kept earlier pictures adds "M earlier pictures were kept; Tools > Undo Last Run brings
// them back." (kKeptSentence).
std::string RunMessage(const RunResult& result);
// " M earlier pictures were kept; Tools > Undo Last Run brings them back." ("1 earlier picture
// was kept" for one), empty for none.
std::string KeptSentence(int kept);
// The message of a run shown as the front ends show it: an error box when the run logged errors.
void ShowRunMessage(Prompts& prompts, const RunResult& result);

// A universe run: the filters as the dashboard shows them and the LevelScopeBox's index (0..6; -1
// for typed text, which makes no level test).
struct UniverseRequest {
  UniverseFilters filters;
  int levelScope = 0;
};

// The filters from the loaded game's settings row (the games table's current row, pending edits
// included). Error when a minimum is blank.
UniverseFilters ReadUniverseFilters(Session& session);

// The runs themselves, each from its plan (run_plan.h). They ask and show nothing: progress and
// status go to the session's RunProgress only, so they may run on a worker thread while the thread
// that owns the window keeps its hands off the session. Both need a loaded game (Error otherwise).
// A run stops between portraits when a cancel is requested and keeps what it made. A failure (a
// missing artwork file, say) ends the run with an Error naming it; portraits made before it stay
// recorded. However a run ends, the players query is closed and the bar hidden, with the loaded
// game's status text. Unless the runs kept are set to 0, every picture a run writes over is kept
// first in the run's backup (run_backup.h); a picture that cannot be kept is not written, and the
// run stops there with a BackupError.
RunResult MakeUniversePhotos(Session& session, const UniverseRequest& request);
// The players of the team `teamId`; Error when the loaded game has no such team.
RunResult MakeTeamPhotos(Session& session, int teamId);

// "Do it!" of "Universe at a Time": the guard ("Load a game first!"), the run with the settings
// as shown, and its message. Returns the number of portraits made.
int UniverseGoBtnClick(Session& session, int levelScopeIndex);

// "Do it!" of "Team at a Time", with the index of the chosen team box item (-1 for none: "Maybe
// you should pick WHICH team first."); the team is the item's team id.
int TeamGoBtnClick(Session& session, int teamItemIndex);

// Flags every player of the team `teamId` of the saved game `game` for a new portrait, as a load
// flags a player who moved: the next team run makes them all again. Works on the tables of the
// program folder `programFolder` directly, beside a window that has the game loaded.
void FlagTeamForNewPortraits(const std::filesystem::path& programFolder, std::string_view game,
                             int teamId);

}  // namespace likentor
