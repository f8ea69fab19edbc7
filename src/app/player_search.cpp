#include "app/player_search.h"

#include <system_error>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/player_photo.h"
#include "app/session.h"
#include "app/write_command.h"
#include "database/nations_table.h"
#include "database/table_store.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "portrait/artwork_paths.h"
#include "portrait/jpeg_reader.h"
#include "shell/folders.h"

namespace likentor {

namespace {

// A prefix match on a field: the typed text literally, then any rest.
std::string PrefixLike(std::string_view field, std::string_view text) {
  return std::string(field) + " LIKE " + QuoteSql(EscapeLike(text) + "%") + " ESCAPE '\\'";
}

void NoMatches(Session& session) {
  session.Game().PlayersQuery.Clear();
  session.UserPrompts().ShowMessage(kNoMatchesFound);
}

std::filesystem::path LoadedPictures(Session& session) {
  return session.Game().Saved.picturesFolder;
}

// Of the current-photo candidates, the first two are PNG pictures and the others JPEG.
constexpr std::size_t kPngCandidates = 2;

}  // namespace

std::vector<std::string> PlayerSearchSql(std::string_view gameName, const PlayerSearch& search) {
  std::string condition;
  std::string andLine;
  if (search.playerId != 0) {
    condition = "WHERE player_id=" + std::to_string(search.playerId);
  } else if (!search.firstName.empty()) {
    condition = "WHERE " + PrefixLike(kFirstNameField, search.firstName);
    if (!search.lastName.empty()) andLine = "AND " + PrefixLike(kLastNameField, search.lastName);
  } else if (!search.lastName.empty()) {
    condition = "WHERE " + PrefixLike(kLastNameField, search.lastName);
  } else {
    return {};
  }
  std::vector<std::string> sql = {"SELECT *", "FROM " + QuoteSqlName(PlayersTableName(gameName)),
                                  condition};
  if (!andLine.empty()) sql.push_back(andLine);
  return sql;
}

bool PlayerSearchBtnClick(Session& session, const PlayerSearch& search) {
  // Without a loaded game (none yet, or a load that failed) there is nothing to search.
  if (!GameLoadedGuard(session)) return false;
  Query& players = session.Game().PlayersQuery;
  players.Clear();
  const std::vector<std::string> sql = PlayerSearchSql(session.LoadedGameName(), search);
  if (sql.empty()) {
    NoMatches(session);
    return false;
  }
  for (const std::string& line : sql) players.Add(line);
  try {
    // Without a loaded game the table "_players.db" does not exist and the open fails.
    players.Open(session.Data());
  } catch (const Error&) {
    NoMatches(session);
    return false;
  }
  if (players.RecordCount() == 0) {
    NoMatches(session);
    return false;
  }
  players.First();
  session.ShowPage(kPlayerPage);
  return true;
}

std::vector<std::filesystem::path> CurrentPhotoCandidates(const std::filesystem::path& pictures,
                                                          int playerId, std::string_view firstName,
                                                          std::string_view lastName) {
  const std::string id = std::to_string(playerId);
  const std::string name = std::string(firstName) + "_" + std::string(lastName);
  return {pictures / ("Player_" + id + ".png"), pictures / (name + ".png"),
          pictures / (name + ".jpg"), pictures / ("Player_" + id + ".jpg"),
          pictures / kDefaultPlayerPhoto};
}

namespace {

PlayerPicture LoadCurrentPhoto(Session& session, const Cursor& players) {
  const auto candidates =
      CurrentPhotoCandidates(LoadedPictures(session), players.GetInt(kPlayerIdField),
                             players.GetText(kFirstNameField), players.GetText(kLastNameField));
  // The last one, the folder's default picture, is taken without a test: its load reports it
  // missing.
  std::size_t chosen = candidates.size() - 1;
  for (std::size_t i = 0; i + 1 < candidates.size(); ++i) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidates[i], ec)) {
      chosen = i;
      break;
    }
  }
  const std::filesystem::path& file = candidates[chosen];
  if (chosen < kPngCandidates) return PlayerPicture{file, PngImage::Load(file)};
  return PlayerPicture{file, LoadJpeg(file)};
}

}  // namespace

void SeeCurrentPhotoBtnClick(Session& session, std::optional<PlayerPicture>& preview) {
  preview.reset();
  preview = LoadCurrentPhoto(session, session.Game().PlayersQuery);
}

PlayerPicture CurrentPhoto(Session& session, int playerId) {
  Query players;
  OpenPlayer(session, players, playerId);
  return LoadCurrentPhoto(session, players);
}

std::string LockedPhotoQuestion(std::string_view name, const std::filesystem::path& file) {
  return "The photo of " + std::string(name) + " is locked, and " + file.string() +
         " may be a picture of your own. Replace it with a new portrait?";
}

std::optional<NewPhoto> MakeNewPhoto(Session& session, int playerId) {
  const WriteCommand writing(session, kNewPhotoCommand);
  Query players;
  OpenPlayer(session, players, playerId);
  const std::filesystem::path file = PortraitFile(LoadedPictures(session), playerId);
  bool replacedOwn = false;
  std::error_code ec;
  if (players.GetBool(kLockedField) && std::filesystem::exists(file, ec)) {
    const std::string name =
        players.GetText(kFirstNameField) + " " + players.GetText(kLastNameField);
    if (!session.UserPrompts().Confirm(LockedPhotoQuestion(name, file))) return std::nullopt;
    replacedOwn = true;
  }
  CreatePlayerPhoto(session, players, playerId);
  return NewPhoto{PlayerPicture{file, PngImage::Load(file)}, replacedOwn};
}

void MakeNewPhotoBtnClick(Session& session, std::optional<PlayerPicture>& preview) {
  const WriteCommand writing(session, kNewPhotoCommand);
  const int playerId = session.Game().PlayersQuery.GetInt(kPlayerIdField);
  CreatePlayerPhoto(session, playerId);
  const std::filesystem::path file = PortraitFile(LoadedPictures(session), playerId);
  preview = PlayerPicture{file, PngImage::Load(file)};
}

void PlayerDoneClick(Session& session) {
  Query& players = session.Game().PlayersQuery;
  // A ticked "Locked?" is kept as the user would expect, not lost because he pressed Done on the
  // row he changed instead of moving off it first.
  if (players.IsOpen() && players.InEdit() && !players.Post()) {
    throw Error("The changes to player " + players.GetText(kPlayerIdField) +
                " could not be saved: " + players.LastError());
  }
  players.Clear();
  session.ShowPage(kDashboardPage);
}

std::map<std::string, std::string> NationNames(Session& session) {
  std::map<std::string, std::string> names;
  Table table(session.Data(), kNationsTable);
  for (table.First(); !table.Eof(); table.Next()) {
    names[table.GetText("nation_id")] = table.GetText("nation_name");
  }
  return names;
}

}  // namespace likentor
