#pragma once

#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor relook NAME --player ID [--keep ethnicity|hair] [--photo] [--force]: loads the saved
// game NAME as "load" does and draws the player's look again (all of it, or all but his ethnicity,
// or only his face), flagging him for a new portrait; --photo makes the portrait at once, --force
// lets it change a locked player. Prints the old and the new look.
class RelookCommand : public GameCommand {
 public:
  std::string Name() const override { return "relook"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  int Run(CommandContext& context, CliSession& cli) override;
  int player_ = 0;
  std::string keep_;
  bool photo_ = false;
  bool force_ = false;
};

}  // namespace likentor
