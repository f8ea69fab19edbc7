#include "cli/search_command.h"

#include "app/game_load.h"
#include "app/loaded_game.h"
#include "app/player_search.h"
#include "cli/row_printer.h"

namespace likentor {

std::string SearchCommand::Description() const {
  return "Find players of a saved game by id, or by the beginning of their first or last name";
}

void SearchCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
  subcommand.add_option("--first", first_, "First name begins with F (as typed, no wildcards)")
      ->type_name("F");
  subcommand.add_option("--last", last_, "Last name begins with L (as typed, no wildcards)")
      ->type_name("L");
  subcommand.add_option("--id", id_, "Player id N; the names are then not used")->type_name("N");
}

int SearchCommand::Execute(CommandContext& context) {
  CliSession cli(context);
  LoadGame(cli.session, name_);
  if (PlayerSearchBtnClick(cli.session, {first_, last_, id_})) {
    PrintRows(cli.session.Game().PlayersQuery, context.out);
    PlayerDoneClick(cli.session);
  }
  cli.session.Shutdown();
  return kExitOk;
}

}  // namespace likentor
