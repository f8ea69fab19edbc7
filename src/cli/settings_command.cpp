#include "cli/settings_command.h"

#include "app/game_load.h"
#include "app/game_settings.h"

namespace likentor {

std::string SettingsCommand::Description() const {
  return "Show a saved game's photo settings, or set and save some of them";
}

void SettingsCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
  AddReloadFlag(subcommand, reload_);
  subcommand.add_option("FIELD=VALUE", assignments_,
                        "use_logos, create_active_photos, create_retired_photos, spread_faces, "
                        "players_age (true or false), "
                        "active_ab_minimum, active_ip_minimum (whole numbers)");
}

int SettingsCommand::Execute(CommandContext& context) {
  // Every change is checked before anything is loaded: a typing mistake changes nothing.
  std::vector<SettingChange> changes;
  try {
    for (const std::string& assignment : assignments_) {
      changes.push_back(ParseSettingChange(assignment));
    }
  } catch (const Error& e) {
    context.err << e.what() << '\n';
    return kExitUsage;
  }

  CliSession cli(context);
  Session& session = cli.session;
  LoadGame(session, name_, ReloadWhen(reload_));
  int status = kExitOk;
  if (!changes.empty()) {
    EditSettings(session, changes);
    if (!SaveSettingsBtnClick(session)) {
      context.err << kSaveSettingsError << '\n';
      status = kExitFailed;
    }
  }
  for (const auto& [field, value] : CurrentSettings(session)) {
    context.out << field << '=' << value << '\n';
  }
  session.Shutdown();
  return cli.ExitStatus(status);
}

}  // namespace likentor
