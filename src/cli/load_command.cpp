#include "cli/load_command.h"

#include "app/game_load.h"

namespace likentor {

std::string LoadCommand::Description() const {
  return "Load a saved game: import its exports into the program's tables";
}

void LoadCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
}

int LoadCommand::Execute(CommandContext& context) {
  CliSession cli(context);
  LoadGame(cli.session, name_);
  cli.session.Shutdown();
  return cli.ExitStatus();
}

}  // namespace likentor
