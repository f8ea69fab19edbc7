#include "app/portrait_gallery.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>
#include <unordered_map>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/player_search.h"
#include "app/run_backup.h"
#include "app/session.h"
#include "app/write_command.h"
#include "database/connection.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "portrait/contact_sheet.h"
#include "shell/error.h"

namespace likentor {

namespace {

const SavedGame& RequireGame(Session& session) {
  if (session.LoadedGameName().empty()) throw Error(std::string(kLoadGameFirst));
  return session.Game().Saved;
}

// The team box's texts by team id.
std::unordered_map<int, std::string> TeamTexts(Session& session) {
  std::unordered_map<int, std::string> texts;
  for (const TeamItem& item : session.Window().teams) texts[item.teamId] = item.text;
  return texts;
}

GalleryPlayer ReadPlayer(const Cursor& players, const std::unordered_map<int, std::string>& teams) {
  GalleryPlayer player;
  player.playerId = players.GetInt(kPlayerIdField);
  player.firstName = players.GetText(kFirstNameField);
  player.lastName = players.GetText(kLastNameField);
  player.teamId = players.GetInt(kTeamIdField, 0);
  if (const auto team = teams.find(player.teamId); team != teams.end()) player.team = team->second;
  player.position = players.GetInt(kPositionField, 0);
  player.locked = players.GetBool(kLockedField);
  return player;
}

int IntOf(const Value& value) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) return static_cast<int>(*number);
  if (const auto* text = std::get_if<std::string>(&value)) {
    return static_cast<int>(std::strtol(text->c_str(), nullptr, 10));
  }
  return 0;
}

std::string TextOf(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
  return {};
}

// The players of the loaded game that `wanted` takes, read with one statement of the fields the
// page shows: a run may have made the portraits of tens of thousands of players, which a cursor
// would read one row at a time.
template <typename Wanted>
std::vector<GalleryPlayer> ReadPlayers(Session& session, const std::string& where,
                                       const std::unordered_map<int, std::string>& teams,
                                       Wanted wanted) {
  Connection& connection = session.Data().ConnectionFor(session.Game().Saved.playersTable);
  StatementUse use(connection.Prepare(
      "SELECT player_id, first_name, last_name, team_id, position, locked FROM " +
      connection.QuotedTable() + where));
  std::vector<GalleryPlayer> players;
  while (use->Step()) {
    const int id = IntOf(use->Column(0));
    if (!wanted(id)) continue;
    GalleryPlayer player;
    player.playerId = id;
    player.firstName = TextOf(use->Column(1));
    player.lastName = TextOf(use->Column(2));
    player.teamId = IntOf(use->Column(3));
    if (const auto team = teams.find(player.teamId); team != teams.end())
      player.team = team->second;
    player.position = IntOf(use->Column(4));
    player.locked = TextOf(use->Column(5)) == "true";
    players.push_back(std::move(player));
  }
  return players;
}

bool RosterOrder(const GalleryPlayer& a, const GalleryPlayer& b) {
  return std::tie(a.position, a.lastName, a.firstName, a.playerId) <
         std::tie(b.position, b.lastName, b.firstName, b.playerId);
}

}  // namespace

Gallery TeamGallery(Session& session, int teamId) {
  const SavedGame& saved = RequireGame(session);
  const auto teams = TeamTexts(session);
  const auto team = teams.find(teamId);
  if (team == teams.end()) {
    throw Error("There is no team " + std::to_string(teamId) + " in " + saved.name + ".");
  }
  Gallery gallery{saved.name + ": " + team->second, saved.picturesFolder, {}};
  gallery.players = ReadPlayers(session, " WHERE team_id=" + std::to_string(teamId), teams,
                                [](int) { return true; });
  std::sort(gallery.players.begin(), gallery.players.end(), RosterOrder);
  return gallery;
}

Gallery RunGallery(Session& session, const std::vector<int>& playerIds,
                   const std::filesystem::path& backupFolder) {
  const SavedGame& saved = RequireGame(session);
  Gallery gallery{saved.name + ": the last run", saved.picturesFolder, {}};
  const auto teams = TeamTexts(session);
  std::unordered_map<int, int> teamOrder;
  for (const TeamItem& item : session.Window().teams) {
    teamOrder.emplace(item.teamId, static_cast<int>(teamOrder.size()));
  }
  std::unordered_map<int, bool> wanted;
  for (int id : playerIds) wanted[id] = true;
  gallery.players = ReadPlayers(session, "", teams, [&](int id) { return wanted.contains(id); });
  // The pictures the run wrote over, as its manifest lists them: no look at the disk for the
  // players whose portraits it made anew.
  if (!backupFolder.empty()) {
    std::unordered_map<int, std::filesystem::path> kept;
    try {
      for (const BackupEntry& entry : ReadBackupRun(backupFolder).entries) {
        if (entry.replaced && !entry.dropped) kept[entry.playerId] = backupFolder / entry.file;
      }
    } catch (const Error&) {
      // A backup that cannot be read shows no earlier pictures.
    }
    for (GalleryPlayer& player : gallery.players) {
      if (const auto found = kept.find(player.playerId); found != kept.end()) {
        player.before = found->second;
      }
    }
  }
  const auto teamRank = [&](const GalleryPlayer& p) {
    const auto found = teamOrder.find(p.teamId);
    return found == teamOrder.end() ? static_cast<int>(teamOrder.size()) : found->second;
  };
  std::stable_sort(gallery.players.begin(), gallery.players.end(),
                   [&](const GalleryPlayer& a, const GalleryPlayer& b) {
                     const int ta = teamRank(a);
                     const int tb = teamRank(b);
                     if (ta != tb) return ta < tb;
                     return RosterOrder(a, b);
                   });
  return gallery;
}

Gallery SearchGallery(Session& session) {
  const SavedGame& saved = RequireGame(session);
  Gallery gallery{saved.name + ": search results", saved.picturesFolder, {}};
  const Query& found = session.Game().PlayersQuery;
  if (!found.IsOpen() || found.Sql().empty()) return gallery;
  // A query of its own over the same lines: the player page's current row stays where it is.
  Query players;
  for (const std::string& line : found.Sql()) players.Add(line);
  players.Open(session.Data());
  const auto teams = TeamTexts(session);
  for (players.First(); !players.Eof(); players.Next()) {
    gallery.players.push_back(ReadPlayer(players, teams));
  }
  return gallery;
}

GalleryPicture CurrentGalleryPicture(const std::filesystem::path& picturesFolder,
                                     const GalleryPlayer& player) {
  const std::vector<std::filesystem::path> candidates =
      CurrentPhotoCandidates(picturesFolder, player.playerId, player.firstName, player.lastName);
  // The first is the program's portrait, the last the folder's default: those between are the
  // user's own.
  for (std::size_t i = 0; i + 1 < candidates.size(); ++i) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidates[i], ec)) return {candidates[i], i > 0};
  }
  return {candidates.back(), false};
}

void SetPlayersLocked(Session& session, const std::vector<int>& playerIds, bool locked) {
  const WriteCommand writing(session, kLocksCommand);
  const SavedGame& saved = RequireGame(session);
  Table players(session.Data(), saved.playersTable);
  for (int id : playerIds) {
    if (!players.Locate(kPlayerIdField, id)) {
      throw Error("There is no player " + std::to_string(id) + " in " + saved.name + ".");
    }
    players.Edit();
    players.SetBool(kLockedField, locked);
    PostOrThrow(players, "The lock of player " + std::to_string(id));
  }
}

void WriteGallerySheet(const Gallery& gallery, const std::filesystem::path& file) {
  std::vector<SheetEntry> entries;
  entries.reserve(gallery.players.size());
  for (const GalleryPlayer& player : gallery.players) {
    entries.push_back({CurrentGalleryPicture(gallery.picturesFolder, player).file,
                       SheetCaption(player.firstName, player.lastName)});
  }
  const std::string title = gallery.title + " (" + std::to_string(entries.size()) +
                            (entries.size() == 1 ? " portrait)" : " portraits)");
  WriteContactSheet(file, title, entries, 10);
}

}  // namespace likentor
