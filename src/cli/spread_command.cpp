#include "cli/spread_command.h"

#include "app/game_load.h"
#include "app/player_looks.h"

namespace likentor {

std::string SpreadCommand::Description() const {
  return "Give new faces to teammates who share one (one team, or every team)";
}

void SpreadCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
  AddReloadFlag(subcommand, reload_);
  subcommand.add_option("--team", team_, "Only this team")->type_name("TEAM_ID");
}

int SpreadCommand::Execute(CommandContext& context) {
  CliSession cli(context);
  Session& session = cli.session;
  LoadGame(session, name_, ReloadWhen(reload_));
  const std::vector<SpreadChange> changes = SpreadFaces(session, team_);
  for (const SpreadChange& change : changes) context.out << SpreadChangeLine(change) << '\n';
  context.out << SpreadMessage(changes.size()) << '\n';
  session.Shutdown();
  return cli.ExitStatus();
}

}  // namespace likentor
