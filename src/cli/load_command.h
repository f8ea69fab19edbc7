#pragma once

#include "cli/command.h"

namespace likentor {

// likentor load NAME: loads the saved game NAME (GameFolder/data/saved_games/NAME.lg) as if its
// folder had been chosen in Load Game, and prints the final message.
class LoadCommand : public Command {
 public:
  std::string Name() const override { return "load"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::string name_;
};

}  // namespace likentor
