#pragma once

// The game's setting that players age with their careers, and which faces age: every face of the
// kit, and a face of an installed pack only when the pack's description says that it follows the
// kit's layout grid (the age layers are drawn for that grid and would sit wrong on another face).

#include <filesystem>
#include <map>
#include <string_view>
#include <utility>

namespace likentor {

class Database;
class Session;

// The line of a pack's description (description.txt in the pack's folder, any case, blanks around
// it ignored) that says its faces follow the kit's layout grid.
inline constexpr std::string_view kPackFollowsGridLine = "follows the kit's layout grid";
inline constexpr std::string_view kPackDescriptionFile = "description.txt";

// The setting players_age of the saved game `name`, as the dashboard shows it when the games
// table's current row is that game's (pending edits included), else as stored; false for a game
// without a settings row yet, and for a games table without the field.
bool PlayersAgeSetting(Session& session, std::string_view name);

// Whether the description file in `packFolder` holds the grid line. False without one.
bool PackFollowsKitGrid(const std::filesystem::path& packFolder);

// The faces installed from packs, by (ethnicity, face number), each with whether it ages. A face
// not listed is the kit's own and ages. Empty when no pack was ever installed.
std::map<std::pair<int, int>, bool> PackFacesAging(Database& db);

}  // namespace likentor
