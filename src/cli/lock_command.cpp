#include "cli/lock_command.h"

#include "app/photo_locks.h"

namespace likentor {

std::string LockCommand::Description() const {
  return locked_ ? "Lock the photos of all, active or retired players of a saved game"
                 : "Unlock the photos of all, active or retired players of a saved game";
}

void LockCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_option("WHICH", which_, "Which players: all, active or retired")
      ->required()
      ->check(CLI::IsMember({"all", "active", "retired"}));
}

int LockCommand::Run(CommandContext& /*context*/, CliSession& cli) {
  const LockScope scope = which_ == "active"    ? LockScope::Active
                          : which_ == "retired" ? LockScope::Retired
                                                : LockScope::All;
  SetPhotoLocks(cli.session, scope, locked_);
  return kExitOk;
}

}  // namespace likentor
