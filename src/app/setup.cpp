#include "app/setup.h"

#include <system_error>

#include "app/session.h"
#include "app/universal_tables.h"
#include "shell/configuration.h"
#include "shell/folders.h"

namespace likentor {

namespace {

// The folder choosers open on the root of the file system, as the window's would on drive C:.
const std::filesystem::path kChooserRoot = "/";

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
  if (program.empty()) program = session.Places().executableFolder;
  session.SetProgramFolder(program);

  std::filesystem::path game = prompts.ChooseFolder(kGameFolderPrompt, kChooserRoot);
  if (game.empty()) game = DefaultGameFolder();
  session.SetGameFolder(game);

  // A chooser only offers folders that exist; a folder typed on the command line may not yet.
  std::error_code ec;
  std::filesystem::create_directories(session.ProgramFolder(), ec);
  session.Log().CreateErrorFile();
  if (CreateAlias(session)) {
    CreateUniversalTables(session);
  } else {
    prompts.ShowError(kAliasErrorMessage);
  }
  WriteCfgFile(session);
}

}  // namespace likentor
