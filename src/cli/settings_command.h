#pragma once

#include <string>
#include <vector>

#include "cli/command.h"

namespace likentor {

// likentor settings NAME [FIELD=VALUE ...]: the photo settings of the saved game NAME (loaded first
// as "load" does). Sets and saves the fields given (use_logos, create_active_photos,
// create_retired_photos: true or false; active_ab_minimum, active_ip_minimum: whole numbers), then
// prints the settings row, one "field=value" line per field.
class SettingsCommand : public Command {
 public:
  std::string Name() const override { return "settings"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::string name_;
  bool reload_ = false;
  std::vector<std::string> assignments_;
};

}  // namespace likentor
