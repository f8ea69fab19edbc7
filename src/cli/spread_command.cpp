#include "cli/spread_command.h"

#include "app/player_looks.h"

namespace likentor {

std::string SpreadCommand::Description() const {
  return "Give new faces to teammates who share one (one team, or every team)";
}

void SpreadCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_option("--team", team_, "Only this team")->type_name("TEAM_ID");
}

int SpreadCommand::Run(CommandContext& context, CliSession& cli) {
  const std::vector<SpreadChange> changes = SpreadFaces(cli.session, team_);
  for (const SpreadChange& change : changes) context.out << SpreadChangeLine(change) << '\n';
  context.out << SpreadMessage(changes.size()) << '\n';
  return kExitOk;
}

}  // namespace likentor
