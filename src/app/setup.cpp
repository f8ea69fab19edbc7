#include "app/setup.h"

#include <system_error>

#include "app/game_load.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "database/games_table.h"
#include "portrait/artwork_paths.h"
#include "shell/configuration.h"
#include "shell/error.h"
#include "shell/error_log.h"
#include "shell/folders.h"
#include "shell/program_lock.h"

namespace likentor {

namespace {

namespace fs = std::filesystem;

// A program folder chosen apart from the folder the running program is installed in gets the
// shipped files that the setup and the portraits read from it: the data files are copied (their
// nation and facial-hair weights are the user's to change there), the artwork is linked. Nothing
// that is already there is replaced.
void InstallShippedFiles(const fs::path& installed, const fs::path& program) {
  std::error_code ec;
  if (installed.empty() || fs::equivalent(installed, program, ec)) return;
  for (const char* name : {"nations.csv", "facialhair.csv"}) {
    const fs::path source = installed / "data" / name;
    const fs::path target = program / "data" / name;
    if (fs::exists(source, ec) && !fs::exists(target, ec)) {
      fs::create_directories(target.parent_path(), ec);
      fs::copy_file(source, target, ec);
    }
  }
  const fs::path graphics = ArtworkFolder(program);
  if (fs::is_directory(ArtworkFolder(installed), ec) &&
      !fs::exists(fs::symlink_status(graphics, ec))) {
    fs::create_directory_symlink(ArtworkFolder(installed), graphics, ec);
  }
}

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return a == b || fs::equivalent(a, b, ec);
}

bool HasSavedGames(const fs::path& gameFolder) {
  std::error_code ec;
  return fs::is_directory(SavedGamesFolder(gameFolder), ec);
}

// The game folder's chooser, opening at `game` (which a cancel gives), then again while the folder
// has no saved games and the user says he will choose another. A cancel of the chooser shown again
// keeps the folder he was just told about.
fs::path ChooseGameFolder(Prompts& prompts, std::string_view title, fs::path game) {
  fs::path chosen = prompts.ChooseFolder(title, game);
  if (!chosen.empty()) game = std::move(chosen);
  while (!HasSavedGames(game) && prompts.Confirm(NoSavedGamesQuestion(game))) {
    fs::path again = prompts.ChooseFolder(kChangeGameFolderPrompt, game);
    if (again.empty()) break;
    game = std::move(again);
  }
  return game;
}

// The configuration is written to the program folder and read from the working folder. A start in
// the user's config folder finds it there only with a copy beside it.
void KeepConfigurationCopy(const Session& session) {
  const fs::path written = session.ProgramFolder() / kConfigurationFile;
  const fs::path copy = session.Places().workingFolder / kConfigurationFile;
  std::error_code ec;
  if (fs::equivalent(written, copy, ec)) return;
  fs::create_directories(copy.parent_path(), ec);
  if (!fs::copy_file(written, copy, fs::copy_options::overwrite_existing, ec)) {
    throw Error("Cannot create file " + copy.string());
  }
}

// Writes configuration.ini where the setup writes it and, when `working`, where the next start
// reads it as well.
void StoreConfiguration(const Session& session, bool working) {
  WriteCfgFile(session);
  if (working) KeepConfigurationCopy(session);
}

// A folder that Likentor was set up in holds its shared tables; the games table stands for them.
bool HoldsSharedTables(const fs::path& programFolder) {
  std::error_code ec;
  return fs::exists(DataFolder(programFolder) / kGamesTable, ec);
}

// Gives a program folder without shared tables what the session used in `from`: the data folder
// (the shared tables with every game's settings, and the imported games), the error log and the
// artwork kit (faces that packs added to the tables are drawn from it), a link copied as a link.
// Nothing the folder holds is replaced (its lock file, taken before, included).
void CopyProgramData(const fs::path& from, const fs::path& to) {
  const auto copy = [](const fs::path& source, const fs::path& target) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(source, ec))) return;
    fs::copy(source, target,
             fs::copy_options::recursive | fs::copy_options::skip_existing |
                 fs::copy_options::copy_symlinks,
             ec);
    if (ec) {
      throw Error("Cannot copy " + source.string() + " to " + target.string() + ": " +
                  ec.message());
    }
  };
  copy(DataFolder(from), DataFolder(to));
  copy(from / kErrorsFile, to / kErrorsFile);
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(ArtworkFolder(to), ec))) {
    copy(ArtworkFolder(from), ArtworkFolder(to));
  }
}

// Moves the session to the tables of the program folder `next` (copying them there first when it
// has none). The loaded game is closed already. A failure puts the session back on its folder.
void MoveToProgramFolder(Session& session, const fs::path& next) {
  const fs::path previous = session.ProgramFolder();
  DeActivateUniversalTables(session);
  try {
    // The session lets the lock of the previous folder go and takes that of the next.
    session.SetProgramFolder(next);
    if (!likentor::CreateAlias(DataFolder(next))) {
      throw Error("Likentor cannot keep its data in " + next.string() + ": " +
                  DataFolder(next).string() + " cannot be made or written.");
    }
    session.TakeProgramLock();
    if (!HoldsSharedTables(next)) CopyProgramData(previous, next);
    InstallShippedFiles(session.Places().executableFolder, next);
    std::error_code ec;
    if (!fs::exists(session.Log().File(), ec)) session.Log().CreateErrorFile();
    RebuildMissingTables(session);
    ActivateUniversalTables(session);
  } catch (...) {
    DeActivateUniversalTables(session);
    session.SetProgramFolder(previous);
    session.TakeProgramLock();
    ActivateUniversalTables(session);
    throw;
  }
}

}  // namespace

std::string NoSavedGamesQuestion(const std::filesystem::path& gameFolder) {
  return "The folder " + gameFolder.string() +
         " has no data/saved_games, so Likentor would find no saved game in it. Choose the "
         "game's folder again? Cancel keeps this folder all the same; File > Change Folders "
         "changes it later.";
}

bool CreateAlias(Session& session) {
  if (likentor::CreateAlias(DataFolder(session.ProgramFolder()))) return true;
  session.Log().ReportError("Could not create alias " + std::string(kAliasName) + " in " +
                            session.ProgramFolder().string());
  return false;
}

void WriteCfgFile(const Session& session) {
  WriteCfgFile(Configuration{session.ProgramFolder(), session.GameFolder()});
}

void RunSetup(Session& session) {
  Prompts& prompts = session.UserPrompts();
  prompts.ShowMessage(kFirstTimeMessage);

  const SessionPlaces& places = session.Places();
  const fs::path defaultProgram =
      places.userDataFolder.empty() ? places.executableFolder : places.userDataFolder;
  fs::path program = prompts.ChooseFolder(kProgramFolderPrompt, defaultProgram);
  if (program.empty()) program = defaultProgram;
  session.SetProgramFolder(program);
  session.SetGameFolder(ChooseGameFolder(prompts, kGameFolderPrompt, DefaultGameFolder()));

  // A chooser only offers folders that exist; a folder typed on the command line may not yet.
  std::error_code ec;
  std::filesystem::create_directories(session.ProgramFolder(), ec);
  // The setup makes the shared tables anew: no other copy may be loading or writing meanwhile. A
  // folder that cannot even hold the lock file cannot hold the tables: the alias step says so.
  try {
    session.TakeProgramLock();
  } catch (const ProgramBusyError&) {
    throw;
  } catch (const Error&) {
  }
  InstallShippedFiles(session.Places().executableFolder, session.ProgramFolder());
  session.Log().CreateErrorFile();
  if (CreateAlias(session)) {
    CreateUniversalTables(session);
  } else {
    prompts.ShowError(kAliasErrorMessage);
  }
  StoreConfiguration(session, session.Places().inUserConfigFolder);
}

void ChangeFolders1Click(Session& session) {
  const WriteCommand writing(session, kFoldersCommand);
  Prompts& prompts = session.UserPrompts();
  const fs::path previousProgram = session.ProgramFolder();
  const fs::path previousGame = session.GameFolder();
  fs::path program = prompts.ChooseFolder(kChangeProgramFolderPrompt, previousProgram);
  if (program.empty()) program = previousProgram;
  const fs::path game = ChooseGameFolder(prompts, kChangeGameFolderPrompt, previousGame);
  const bool newProgram = !SameFolder(program, previousProgram);
  if (!newProgram && SameFolder(game, previousGame)) return;

  // The configuration the next start reads is kept up to date too.
  std::error_code ec;
  const bool working = session.Places().inUserConfigFolder ||
                       fs::exists(session.Places().workingFolder / kConfigurationFile, ec);
  // The loaded game lies in the game folder, and its tables in the program folder's.
  if (!session.LoadedGameName().empty()) CloseGame1Click(session);
  if (newProgram) MoveToProgramFolder(session, program);
  session.SetGameFolder(game);
  try {
    StoreConfiguration(session, working);
  } catch (...) {
    session.SetGameFolder(previousGame);
    if (newProgram) MoveToProgramFolder(session, previousProgram);
    throw;
  }
  prompts.ShowMessage("Likentor now keeps its data in " + session.ProgramFolder().string() +
                      " and finds the game in " + game.string() + ".");
}

}  // namespace likentor
