#include "cli/load_command.h"

#include "app/game_load.h"

namespace likentor {

std::string LoadCommand::Description() const {
  return "Load a saved game: import its exports into the program's tables";
}

void LoadCommand::OpenGame(CommandContext& /*context*/, Session& session) {
  // The load command always imports, whatever the last load's stamp says.
  LoadGame(session, GameName(), Reload::Always);
}

int LoadCommand::Run(CommandContext& /*context*/, CliSession& /*cli*/) {
  return kExitOk;
}

}  // namespace likentor
