#pragma once

// The loaded game's photo settings: the current row of GamesTable, which the dashboard's settings
// controls edit in place and "Save Current Settings" stores.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace likentor {

class Session;

inline constexpr std::string_view kSaveSettingsError = "Error saving game settings.";

// The settings the dashboard edits, as named in games.db.
inline constexpr std::array<std::string_view, 5> kBooleanSettings = {
    "use_logos", "create_active_photos", "create_retired_photos", "spread_faces", "players_age"};
inline constexpr std::array<std::string_view, 2> kNumberSettings = {"active_ab_minimum",
                                                                    "active_ip_minimum"};

// One setting to change, as the command line gives it: "field=value".
struct SettingChange {
  std::string field;
  std::variant<bool, int> value;
  bool operator==(const SettingChange&) const = default;
};

// Reads "field=value": one of the five settings above; "true" or "false" for the check boxes, a
// whole number from 0 up for the minimums. Error with a message that names what is wrong.
SettingChange ParseSettingChange(std::string_view assignment);

// Puts the current row of GamesTable into edit state (when it is not already) and writes the
// changes, as the dashboard's controls do. They are stored by SaveSettingsBtnClick.
void EditSettings(Session& session, const std::vector<SettingChange>& changes);

// Save Current Settings: posts the current row of GamesTable. Nothing happens when no change is
// pending. A post the store refuses is cancelled (the pending changes are lost) and logged as
// "Error saving game settings."; no message is shown either way. False only for a refused post.
bool SaveSettingsBtnClick(Session& session);

// The current settings row as (field, value) pairs in the table's field order, values as stored
// ("true", "500", "" for none).
std::vector<std::pair<std::string, std::string>> CurrentSettings(Session& session);

}  // namespace likentor
