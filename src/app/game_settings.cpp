#include "app/game_settings.h"

#include <algorithm>
#include <charconv>

#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"

namespace likentor {

namespace {

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string SettingNames() {
  std::string names;
  const auto add = [&names](std::string_view name) {
    if (!names.empty()) names += ", ";
    names += name;
  };
  for (std::string_view name : kBooleanSettings) add(name);
  for (std::string_view name : kNumberSettings) add(name);
  return names;
}

}  // namespace

SettingChange ParseSettingChange(std::string_view assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string_view::npos) {
    throw Error("\"" + std::string(assignment) + "\" is not FIELD=VALUE.");
  }
  const std::string field(assignment.substr(0, equals));
  const std::string_view value = assignment.substr(equals + 1);
  if (IsOneOf(field, kBooleanSettings)) {
    if (value == "true") return {field, true};
    if (value == "false") return {field, false};
    throw Error(field + " is true or false, not \"" + std::string(value) + "\".");
  }
  if (IsOneOf(field, kNumberSettings)) {
    int number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size() || number < 0) {
      throw Error(field + " is a whole number from 0 to 2147483647, not \"" + std::string(value) +
                  "\".");
    }
    return {field, number};
  }
  throw Error("There is no setting \"" + field + "\". The settings are " + SettingNames() + ".");
}

void EditSettings(Session& session, const std::vector<SettingChange>& changes) {
  const WriteCommand writing(session, kSettingsCommand);
  Table& games = session.Universal().GamesTable;
  if (!games.InEdit()) games.Edit();
  for (const SettingChange& change : changes) {
    if (const bool* flag = std::get_if<bool>(&change.value)) {
      games.SetBool(change.field, *flag);
    } else {
      games.SetInt(change.field, std::get<int>(change.value));
    }
  }
}

bool SaveSettingsBtnClick(Session& session) {
  const WriteCommand writing(session, kSettingsCommand);
  Table& games = session.Universal().GamesTable;
  if (!games.InEdit()) return true;
  return PostOrCancel(games, session.Log(), kSaveSettingsError);
}

std::vector<std::pair<std::string, std::string>> CurrentSettings(Session& session) {
  Table& games = session.Universal().GamesTable;
  std::vector<std::pair<std::string, std::string>> settings;
  for (const FieldDef& field : games.Fields()) {
    settings.emplace_back(field.name, games.GetText(field.name));
  }
  return settings;
}

}  // namespace likentor
