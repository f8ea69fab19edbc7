#include "cli/setup_command.h"

#include <system_error>

#include "app/setup.h"
#include "shell/folders.h"

namespace likentor {

std::string SetupCommand::Description() const {
  return "First-run setup: choose the program and game folders, make the error log, the data "
         "folder, the shared tables and configuration.ini";
}

void SetupCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("--program-folder", programFolder_,
                        "Where Likentor is installed (default: the executable's folder)");
  subcommand.add_option("--game-folder", gameFolder_,
                        "Where the game is installed (default: its place in the Wine prefix)");
}

int SetupCommand::Execute(CommandContext& context) {
  CliPrompts prompts(context.out, context.err);
  prompts.AnswerFolder(programFolder_.empty() ? std::filesystem::path()
                                              : context.Absolute(programFolder_));
  prompts.AnswerFolder(gameFolder_.empty() ? std::filesystem::path()
                                           : context.Absolute(gameFolder_));
  Session session(prompts, context.places);
  RunSetup(session);
  // The window asks before it keeps such a game folder; here the folder was given, so it is kept
  // and the user is told.
  std::error_code ec;
  if (!std::filesystem::is_directory(SavedGamesFolder(session.GameFolder()), ec)) {
    context.out << "Note: " << session.GameFolder().string()
                << " has no data/saved_games, so Likentor will find no saved game in it.\n";
  }
  return prompts.ErrorShown() ? kExitFailed : kExitOk;
}

}  // namespace likentor
