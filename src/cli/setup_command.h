#pragma once

#include "cli/command.h"

namespace likentor {

// likentor setup [--program-folder P] [--game-folder G]: the first-run setup, its two folder
// prompts answered by the options (one left out is a cancel, so the default folder).
class SetupCommand : public Command {
 public:
  std::string Name() const override { return "setup"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::string programFolder_;
  std::string gameFolder_;
};

}  // namespace likentor
