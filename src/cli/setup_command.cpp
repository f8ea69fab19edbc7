#include "cli/setup_command.h"

#include "app/setup.h"

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
  return prompts.ErrorShown() ? kExitFailed : kExitOk;
}

}  // namespace likentor
