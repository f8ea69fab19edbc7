#include "cli/lock_command.h"

#include "app/game_load.h"
#include "app/photo_locks.h"

namespace likentor {

std::string LockCommand::Description() const {
  return locked_ ? "Lock the photos of all, active or retired players of a saved game"
                 : "Unlock the photos of all, active or retired players of a saved game";
}

void LockCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
  AddReloadFlag(subcommand, reload_);
  subcommand.add_option("WHICH", which_, "Which players: all, active or retired")
      ->required()
      ->check(CLI::IsMember({"all", "active", "retired"}));
}

int LockCommand::Execute(CommandContext& context) {
  const LockScope scope = which_ == "active"    ? LockScope::Active
                          : which_ == "retired" ? LockScope::Retired
                                                : LockScope::All;
  CliSession cli(context);
  LoadGame(cli.session, name_, ReloadWhen(reload_));
  SetPhotoLocks(cli.session, scope, locked_);
  cli.session.Shutdown();
  return cli.ExitStatus();
}

}  // namespace likentor
