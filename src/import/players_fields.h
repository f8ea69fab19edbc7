#pragma once

// The fields of a saved game's players table, <game>_players.db: their names and the schema the
// table is made with. The names are the table file's column names; files made by earlier versions
// are read by them, so a name here never changes. Everything that reads or writes the table (the
// import, the commands of app, the pages, the tests and the benchmarks) names its fields through
// these constants.

#include <string_view>
#include <vector>

#include "database/table_store.h"

namespace likentor {

inline constexpr std::string_view kPlayerIdField = "player_id";  // the key
inline constexpr std::string_view kFirstNameField = "first_name";
inline constexpr std::string_view kLastNameField = "last_name";
inline constexpr std::string_view kNationIdField = "nation_id";
inline constexpr std::string_view kRetiredField = "retired";
inline constexpr std::string_view kTeamIdField = "team_id";  // 0: no team
inline constexpr std::string_view kPositionField = "position";
inline constexpr std::string_view kEthnicityField = "ethnicity";
inline constexpr std::string_view kBackgroundField = "background";
inline constexpr std::string_view kFaceField = "face";
inline constexpr std::string_view kUniformTeamIdField = "uniform_team_id";
inline constexpr std::string_view kHairColorField = "hair_color";
inline constexpr std::string_view kHairStyleField = "hair_style";
inline constexpr std::string_view kFacialHairStyleField = "facial_hair_style";
inline constexpr std::string_view kAccessoryField = "accessory";
inline constexpr std::string_view kCareerAbField = "career_ab";
inline constexpr std::string_view kCareerIpField = "career_ip";
inline constexpr std::string_view kLockedField = "locked";
inline constexpr std::string_view kUpdateRequiredField = "update_required";
inline constexpr std::string_view kRetiredAsTeamField = "retired_as_team";
inline constexpr std::string_view kHandField = "hand";
// The length of a player's career in seasons, written on every load, and the age step his last
// portrait was made at (blank: 0). Both came after the others: an older table gains them blank.
inline constexpr std::string_view kCareerSeasonsField = "career_seasons";
inline constexpr std::string_view kAgeStepField = "age_step";

// The schema of a new players table, field by field in the table's column order.
const std::vector<FieldDef>& PlayersTableFields();

}  // namespace likentor
