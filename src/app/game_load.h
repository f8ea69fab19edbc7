#pragma once

// Loading and closing a saved game. The load imports the game's exports into its per-game tables
// (leagues, teams, career batting and pitching, players), makes the game's settings row current,
// fills the team box and marks the game as loaded; closing undoes the window side of it, and the
// tables stay on disk for the next load.

#include <filesystem>
#include <string>
#include <string_view>

#include "shell/error.h"

namespace likentor {

class Session;

inline constexpr std::string_view kSelectGameFolder = "Select the game folder.";

// A load stopped on request (a cancel through the session's RunProgress). Its message says that no
// game is loaded and which tables the load finished importing before it stopped.
class LoadStoppedError : public Error {
 public:
  using Error::Error;
};

// File > Load Game: asks for the saved game's folder (a folder <name>.lg directly in
// GameFolder/data/saved_games); once one is chosen and accepted, closes the loaded game, shows the
// first page and loads the chosen one. A cancelled chooser ends the command there, and a folder
// that is not a saved game is refused with an Error; either way the loaded game (its tables,
// caption, page and the pending edit of its settings row) stays as it was. Failures of the load
// itself propagate as in LoadSavedGame.
void LoadGame1Click(Session& session);

// The saved-game name of a chosen folder: Error when the folder is not "<name>.lg" directly in the
// saved-games folder.
std::string SavedGameNameOf(const std::filesystem::path& savedGamesFolder,
                            const std::filesystem::path& chosen);

// Whether a load by name imports the exports when they are as the last complete load read them.
enum class Reload {
  Always,       // the load command and the window's: import whatever the stamp says
  WhenChanged,  // commands that need the game loaded: use the last load's tables when it holds
};

// The Load Game command for a saved game given by name (the command line's "load NAME"): closes the
// loaded game, checks that the saved game's folder exists (Error otherwise), sets LoadedGameName,
// runs LoadSavedGame and shows the first page. With Reload::WhenChanged, when every export has the
// size, modification time and hash that the last complete load stamped (and its tables are there),
// nothing is imported: the game becomes the loaded one over its tables as that load left them
// (but for the players whose age step the setting now gives differs from their last portrait's,
// who are flagged as a load flags them), with the message "<name>.lg unchanged since the last
// load.".
void LoadGame(Session& session, std::string_view name, Reload reload = Reload::Always);

// The whole load of the saved game `name`, in order: leagues, teams, career batting and pitching,
// players, the settings row, the team box; then the status text "<name>.lg loaded.", the caption
// "Likentor: <name>" and the message "<name>.lg loaded successfully.". When errors were logged on
// the way (rows refused, a damaged table made again) the closing words are instead the error
// "<name>.lg loaded with N errors; see the errors log." (with "(M of them could not be written to
// FILE)" before the stop when the log could not take them all). A per-game table whose file is not
// a readable table is made again and filled from the exports.
// It asks the user nothing but that closing message, so it may run on a worker thread: it reports
// through session.Progress() (status "Loading <name>.lg...", the bar rising from 0 to 100, hidden
// at the end however the load ends) and looks at its cancel request between the tables and every
// few hundred records of the career and players imports; the load's end ends the run (EndRun).
// A failure (an Error naming the file and line) or a cancel (LoadStoppedError) ends the load with
// no game loaded (as CloseGame leaves the session) and the error going out to the caller: the table
// being imported stays as it was before the load (one this load made is removed again), and the
// tables imported before it stay whole with the new rows.
void LoadSavedGame(Session& session, const std::string& name);

// The saved game `name` as its last load left the tables, for a session that only reads: the game
// becomes the loaded one, its teams fill the team box, and nothing is imported or written. Error
// when there is no such saved game or it has not been loaded yet.
void OpenLoadedGame(Session& session, std::string_view name);

// File > Close Game: closes the game (whether or not one is loaded) and shows the first page.
void CloseGame1Click(Session& session);
// Empties the team box, closes the game's tables and queries, clears LoadedGameName and puts back
// the caption "Likentor" and the status text "No game loaded.".
void CloseGame(Session& session);
void CloseGameData(Session& session);

// Fills the team box from the open teams table, in ascending team id: "team_name nickname".
void PopulateTeamBox(Session& session);
void DePopulateTeamBox(Session& session);

}  // namespace likentor
