#pragma once

#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor spread NAME [--team ID]: loads the saved game NAME as "load" does and gives new faces
// to the unlocked players of a team (or of every team) who share a face with a teammate, all but
// one of each group. Prints one line per player changed and a count.
class SpreadCommand : public GameCommand {
 public:
  std::string Name() const override { return "spread"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  int Run(CommandContext& context, CliSession& cli) override;
  std::optional<int> team_;
};

}  // namespace likentor
