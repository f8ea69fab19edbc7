#include "cli/settings_command.h"

#include "app/game_settings.h"

namespace likentor {

std::string SettingsCommand::Description() const {
  return "Show a saved game's photo settings, or set and save some of them";
}

void SettingsCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_option("FIELD=VALUE", assignments_,
                        "use_logos, create_active_photos, create_retired_photos, spread_faces, "
                        "players_age (true or false), "
                        "active_ab_minimum, active_ip_minimum (whole numbers)");
}

std::optional<int> SettingsCommand::BeforeSession(CommandContext& context) {
  // Every change is checked before anything is loaded: a typing mistake changes nothing.
  changes_.clear();
  try {
    for (const std::string& assignment : assignments_) {
      changes_.push_back(ParseSettingChange(assignment));
    }
  } catch (const Error& e) {
    context.err << e.what() << '\n';
    return kExitUsage;
  }
  return std::nullopt;
}

int SettingsCommand::Run(CommandContext& context, CliSession& cli) {
  Session& session = cli.session;
  int status = kExitOk;
  if (!changes_.empty()) {
    EditSettings(session, changes_);
    if (!SaveSettingsBtnClick(session)) {
      context.err << kSaveSettingsError << '\n';
      status = kExitFailed;
    }
  }
  for (const auto& [field, value] : CurrentSettings(session)) {
    context.out << field << '=' << value << '\n';
  }
  return status;
}

}  // namespace likentor
