#pragma once

// The first-run setup: two folder prompts, a fresh error log, the data folder (the database alias),
// the shared tables and configuration.ini.

#include <string_view>

namespace likentor {

class Session;

inline constexpr std::string_view kFirstTimeMessage =
    "This appears to be your first time running the program.  Please follow the instructions to "
    "configure it for your machine.";
inline constexpr std::string_view kProgramFolderPrompt =
    "First, please select the folder where likentor.exe is installed.  Clicking cancel will use "
    "the default folder.";
inline constexpr std::string_view kGameFolderPrompt =
    "Next, select the folder where vask2006.exe is installed.  Clicking cancel will use the "
    "default "
    "folder.";
inline constexpr std::string_view kAliasErrorMessage =
    "There was an error creating the database alias.";
inline constexpr std::string_view kAliasName = "Likentor1";

void RunSetup(Session& session);

// Makes sure ProgramFolder/data exists and is writable. On failure logs "Could not create alias
// Likentor1 in " + ProgramFolder and returns false.
bool CreateAlias(Session& session);

// Writes configuration.ini into the program folder from the session's two folders.
void WriteCfgFile(const Session& session);

}  // namespace likentor
