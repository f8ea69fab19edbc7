#pragma once

// Loading and closing a saved game. The load imports the game's exports into its per-game tables
// (leagues, teams, career batting and pitching, players), makes the game's settings row current,
// fills the team box and marks the game as loaded; closing undoes the window side of it, and the
// tables stay on disk for the next load.

#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

class Session;

inline constexpr std::string_view kSelectGameFolder = "Select the game folder.";

// File > Load Game: closes the loaded game, asks for the saved game's folder (a folder
// <name>.lg directly in GameFolder/data/saved_games) and loads it. A cancelled chooser ends the
// command there; a folder that is not a saved game is refused with an Error and nothing is loaded.
// Shows the first page at the end. Failures of the load itself propagate as in LoadSavedGame.
void LoadGame1Click(Session& session);

// The saved-game name of a chosen folder: Error when the folder is not "<name>.lg" directly in the
// saved-games folder.
std::string SavedGameNameOf(const std::filesystem::path& savedGamesFolder,
                            const std::filesystem::path& chosen);

// The Load Game command for a saved game given by name (the command line's "load NAME"): closes the
// loaded game, checks that the saved game's folder exists (Error otherwise), sets LoadedGameName,
// runs LoadSavedGame and shows the first page.
void LoadGame(Session& session, std::string_view name);

// The whole load of the saved game `name`, in order: leagues, teams, career batting and pitching,
// players, the settings row, the team box; then the status text "<name>.lg loaded.", the caption
// "Likentor: <name>" and the message "<name>.lg loaded successfully.". When errors were logged on
// the way (rows refused, a damaged table made again) the closing words are instead the error
// "<name>.lg loaded with N errors; see the errors log." (with "(M of them could not be written to
// FILE)" before the stop when the log could not take them all). A per-game table whose file is not
// a readable table is made again and filled from the exports. A failure ends the load with an Error
// naming the file and line; the steps before it stay done and committed, and the session is left
// partly loaded (LoadedGameName set, status "Loading <name>.lg...").
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
