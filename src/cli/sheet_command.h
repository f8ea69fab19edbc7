#pragma once

#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor sheet NAME OUT.png [--team TEAM_ID]: loads the saved game NAME as "load" does, then
// writes a contact sheet of the portraits in its picture folder, each with the player's name under
// it: one team's players, or the first few hundred players in id order.
class SheetCommand : public Command {
 public:
  std::string Name() const override { return "sheet"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::string name_;
  bool reload_ = false;
  std::string out_;
  std::optional<int> team_;
};

// How many portraits a sheet without --team shows at most.
inline constexpr int kSheetPlayersMax = 300;

}  // namespace likentor
