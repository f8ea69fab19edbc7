#pragma once

#include "cli/command.h"

namespace likentor {

// likentor load NAME: loads the saved game NAME (GameFolder/data/saved_games/NAME.lg) as if its
// folder had been chosen in Load Game, and prints the final message.
class LoadCommand : public GameCommand {
 public:
  LoadCommand() : GameCommand(ReloadFlag::None) {}
  std::string Name() const override { return "load"; }
  std::string Description() const override;

 private:
  void OpenGame(CommandContext& context, Session& session) override;
  int Run(CommandContext& context, CliSession& cli) override;
};

}  // namespace likentor
