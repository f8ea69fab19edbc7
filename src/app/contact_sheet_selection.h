#pragma once

// Which portraits a contact sheet shows: those that exist in the loaded game's picture folder, of
// one team's players or of the first players in id order, with the names to write under them.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace likentor {

class Session;

struct SheetPlayer {
  std::filesystem::path portrait;  // Player_<id>.png in the picture folder
  std::string firstName;
  std::string lastName;
};

struct SheetSelection {
  std::string title;  // the game's name, and the team's "team_name nickname" for one team
  std::filesystem::path picturesFolder;
  std::vector<SheetPlayer> players;
};

// The players of team `teamId` (every one with a portrait), or without a team the first `limit`
// players with a portrait. Error when no game is loaded or the game has no such team; an empty
// selection is no error.
SheetSelection ContactSheetSelection(Session& session, std::optional<int> teamId, int limit);

// Writes the selection's portraits to the PNG `file` as a contact sheet, `columns` to a row, each
// with the player's name under it, under the title "<title> (N portraits)". Returns N.
std::size_t WriteSelectionSheet(const SheetSelection& selection, const std::filesystem::path& file,
                                int columns);

}  // namespace likentor
