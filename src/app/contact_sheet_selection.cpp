#include "app/contact_sheet_selection.h"

#include <algorithm>
#include <system_error>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/session.h"
#include "import/players_fields.h"
#include "portrait/artwork_paths.h"
#include "portrait/contact_sheet.h"

namespace likentor {

SheetSelection ContactSheetSelection(Session& session, std::optional<int> teamId, int limit) {
  if (session.LoadedGameName().empty()) throw Error(std::string(kLoadGameFirst));
  const SavedGame& saved = session.Game().Saved;
  SheetSelection selection{saved.name, saved.picturesFolder, {}};
  if (teamId) {
    const std::vector<TeamItem>& teams = session.Window().teams;
    const auto item = std::find_if(teams.begin(), teams.end(),
                                   [&](const TeamItem& t) { return t.teamId == *teamId; });
    if (item == teams.end()) {
      throw Error("There is no team " + std::to_string(*teamId) + " in " + saved.name + ".");
    }
    selection.title += ": " + item->text;
  }
  Table players(session.Data(), saved.playersTable);
  for (players.First(); !players.Eof(); players.Next()) {
    if (!teamId && static_cast<int>(selection.players.size()) >= limit) break;
    if (teamId && players.GetInt(kTeamIdField, 0) != *teamId) continue;
    std::filesystem::path portrait =
        PortraitFile(saved.picturesFolder, players.GetInt(kPlayerIdField));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(portrait, ec)) continue;
    selection.players.push_back(
        {std::move(portrait), players.GetText(kFirstNameField), players.GetText(kLastNameField)});
  }
  return selection;
}

std::size_t WriteSelectionSheet(const SheetSelection& selection, const std::filesystem::path& file,
                                int columns) {
  std::vector<SheetEntry> entries;
  entries.reserve(selection.players.size());
  for (const SheetPlayer& player : selection.players) {
    entries.push_back({player.portrait, SheetCaption(player.firstName, player.lastName)});
  }
  const std::string title = selection.title + " (" + std::to_string(entries.size()) + " portraits)";
  WriteContactSheet(file, title, entries, columns);
  return entries.size();
}

}  // namespace likentor
