#pragma once

#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor sheet NAME OUT.png [--team TEAM_ID]: loads the saved game NAME as "load" does, then
// writes a contact sheet of the portraits in its picture folder, each with the player's name under
// it: one team's players, or the first few hundred players in id order.
class SheetCommand : public GameCommand {
 public:
  std::string Name() const override { return "sheet"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  int Run(CommandContext& context, CliSession& cli) override;
  std::string out_;
  std::optional<int> team_;
};

// How many portraits a sheet without --team shows at most.
inline constexpr int kSheetPlayersMax = 300;

}  // namespace likentor
