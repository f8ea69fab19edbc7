#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/game_settings.h"
#include "cli/command.h"

namespace likentor {

// likentor settings NAME [FIELD=VALUE ...]: the photo settings of the saved game NAME (loaded first
// as "load" does). Sets and saves the fields given (use_logos, create_active_photos,
// create_retired_photos: true or false; active_ab_minimum, active_ip_minimum: whole numbers), then
// prints the settings row, one "field=value" line per field.
class SettingsCommand : public GameCommand {
 public:
  std::string Name() const override { return "settings"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  int Run(CommandContext& context, CliSession& cli) override;
  std::optional<int> BeforeSession(CommandContext& context) override;
  std::vector<std::string> assignments_;
  std::vector<SettingChange> changes_;
};

}  // namespace likentor
