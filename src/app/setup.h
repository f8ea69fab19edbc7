#pragma once

// The first-run setup: two folder prompts, a fresh error log, the data folder (the database alias),
// the shared tables and configuration.ini.

#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

class Session;

inline constexpr std::string_view kFirstTimeMessage =
    "This appears to be your first time running the program.  Please follow the instructions to "
    "configure it for your machine.";
inline constexpr std::string_view kProgramFolderPrompt =
    "First, please select the folder where Likentor keeps its data.  Clicking cancel will use the "
    "default folder.";
inline constexpr std::string_view kGameFolderPrompt =
    "Next, select the game's folder (the one that holds data/saved_games).  Clicking cancel will "
    "use the default folder.";
// The choosers of File > Change Folders, and of a game folder chosen again after a refusal: they
// open at the folder in use, which Cancel keeps.
inline constexpr std::string_view kChangeProgramFolderPrompt =
    "Please select the folder where Likentor keeps its data.  Clicking cancel will keep the "
    "current folder.";
inline constexpr std::string_view kChangeGameFolderPrompt =
    "Please select the game's folder (the one that holds data/saved_games).  Clicking cancel will "
    "keep the current folder.";
inline constexpr std::string_view kAliasErrorMessage =
    "There was an error creating the database alias.";
inline constexpr std::string_view kAliasName = "Likentor1";

// Asked when a game folder holds no data/saved_games: OK chooses the game's folder again, Cancel
// keeps this one all the same.
std::string NoSavedGamesQuestion(const std::filesystem::path& gameFolder);

// The setup: the first-run message, then the program folder's chooser, opening at the folder a
// cancel gives (the user's data folder of an install, else the program's own folder), and the game
// folder's, opening at the default game folder (which a cancel gives). A game folder without
// data/saved_games is kept only once the user was told: NoSavedGamesQuestion answered Cancel, or
// the chooser it shows again (opening at that folder) cancelled.
void RunSetup(Session& session);

// File > Change Folders: the two choosers again, opening at the folders in use (which a cancel
// keeps), the game folder checked as the setup checks it; then configuration.ini is written where
// the setup writes it and where the next start reads it. Nothing changed, nothing done. A new game
// folder closes the loaded game. A new program folder closes it too and moves the session to that
// folder's tables: a folder that holds Likentor's shared tables already is used with them, one
// that does not gets a copy of what the session used (the data folder with the shared tables,
// every game's settings and the imported games; the error log; the artwork kit), never replacing a
// file it holds. A failure leaves the session on the folders it had, and the
// configuration as it was. The outcome is told in a plain message.
void ChangeFolders1Click(Session& session);

// Makes sure ProgramFolder/data exists and is writable. On failure logs "Could not create alias
// Likentor1 in " + ProgramFolder and returns false.
bool CreateAlias(Session& session);

// Writes configuration.ini into the program folder from the session's two folders.
void WriteCfgFile(const Session& session);

}  // namespace likentor
