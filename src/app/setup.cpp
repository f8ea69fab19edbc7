#include "app/setup.h"

#include <system_error>

#include "app/session.h"
#include "app/universal_tables.h"
#include "shell/configuration.h"
#include "shell/error.h"
#include "shell/folders.h"
#include "shell/program_lock.h"

namespace likentor {

namespace {

namespace fs = std::filesystem;

// The folder choosers open on the root of the file system, as the window's would on drive C:.
const fs::path kChooserRoot = "/";

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
  const fs::path graphics = program / "graphics";
  if (fs::is_directory(installed / "graphics", ec) &&
      !fs::exists(fs::symlink_status(graphics, ec))) {
    fs::create_directory_symlink(installed / "graphics", graphics, ec);
  }
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

}  // namespace

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

  std::filesystem::path program = prompts.ChooseFolder(kProgramFolderPrompt, kChooserRoot);
  if (program.empty()) {
    const SessionPlaces& places = session.Places();
    program = places.userDataFolder.empty() ? places.executableFolder : places.userDataFolder;
  }
  session.SetProgramFolder(program);

  std::filesystem::path game = prompts.ChooseFolder(kGameFolderPrompt, kChooserRoot);
  if (game.empty()) game = DefaultGameFolder();
  session.SetGameFolder(game);

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
  WriteCfgFile(session);
  if (session.Places().inUserConfigFolder) KeepConfigurationCopy(session);
}

}  // namespace likentor
