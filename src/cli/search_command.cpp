#include "cli/search_command.h"

#include <chrono>
#include <memory>
#include <optional>

#include "app/game_load.h"
#include "app/loaded_game.h"
#include "app/player_search.h"
#include "app/row_printer.h"

namespace likentor {

std::string SearchCommand::Description() const {
  return "Find players of a saved game by id, or by the beginning of their first or last name";
}

void SearchCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_option("--first", first_, "First name begins with F (as typed, no wildcards)")
      ->type_name("F");
  subcommand.add_option("--last", last_, "Last name begins with L (as typed, no wildcards)")
      ->type_name("L");
  subcommand.add_option("--id", id_, "Player id N; the names are then not used")->type_name("N");
}

namespace {

// The program folder's lock when this copy can take it at once, or why it cannot: another copy
// holds it, or the folder may not be written.
std::unique_ptr<ProgramLock> LockAtOnce(CommandContext& context, std::string& whyNot) {
  CliPrompts prompts(context.out, context.err);
  Session probe(prompts, context.places);
  if (!probe.ReadCfgFile()) throw NotSetUpError(context.places.workingFolder);
  try {
    return std::make_unique<ProgramLock>(probe.ProgramFolder(), std::chrono::milliseconds(0));
  } catch (const Error& e) {
    whyNot = e.what();
    return nullptr;
  }
}

}  // namespace

// A search loads the game first (or takes its last load when no export changed since), as every
// command that names one does. When this copy may not write (another copy is at work, or the
// folder is read-only) it searches the tables as the last load left them instead, and says so.
std::optional<int> SearchCommand::BeforeSession(CommandContext& context) {
  whyNot_.clear();
  lock_ = LockAtOnce(context, whyNot_);
  return std::nullopt;
}

Access SearchCommand::SessionAccess() const {
  return lock_ ? Access::ReadWrite : Access::ReadOnly;
}

void SearchCommand::OpenGame(CommandContext& context, Session& session) {
  if (lock_) {
    GameCommand::OpenGame(context, session);
  } else {
    context.err << whyNot_ << " Searching " << GameName() << " as it was last loaded.\n";
    OpenLoadedGame(session, GameName());
  }
}

int SearchCommand::Run(CommandContext& context, CliSession& cli) {
  if (PlayerSearchBtnClick(cli.session, {first_, last_, id_})) {
    PrintRows(cli.session.Game().PlayersQuery, context.out);
    PlayerDoneClick(cli.session);
  }
  return kExitOk;
}

}  // namespace likentor
