#include "app/player_photo.h"

#include <optional>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/photo_plan.h"
#include "app/run_backup.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "import/players_fields.h"
#include "portrait/artwork_paths.h"
#include "portrait/layer_cache.h"
#include "portrait/portrait_png.h"

namespace likentor {

LockedPhotoError::LockedPhotoError(int playerId)
    : Error("The photo of player " + std::to_string(playerId) +
            " is locked: it may be a picture of your own.") {}

int GetBackground(Session& session) {
  return DrawBackground(session.Random());
}

int GetAccessory(Session& session) {
  return DrawAccessory(session.Random(), session.Universal().AccessoriesTable.RecordCount());
}

void CreatePlayerPhoto(Session& session, int playerId) {
  CreatePlayerPhoto(session, session.Game().PlayersQuery, playerId);
}

void CreatePlayerPhoto(Session& session, Cursor& players, int playerId,
                       const std::optional<PhotoUndo>& run) {
  PhotoRow row = ReadPhotoRow(players);
  row.playerId = playerId;  // names the file; everything else comes from the row
  PhotoLookups lookups(session);
  LayerCache layers(session.ProgramFolder());
  const PhotoPlan plan = PlanPlayerPhoto(session, lookups, layers, row);

  const RowValues before = run ? run->before : ReadRowValues(players);

  // A picture there is kept before it is written over; one that cannot be kept is not replaced.
  std::optional<RunBackup> own;
  RunBackup* backup = run ? run->backup : nullptr;
  if (backup == nullptr && KeptRuns(session.ProgramFolder()) > 0) {
    backup = &own.emplace(
        session.ProgramFolder(), session.LoadedGameName(), session.Game().Saved.picturesFolder,
        run ? run->title : "Make New Photo of player " + std::to_string(playerId));
  }
  const bool existed = backup != nullptr && backup->Keep(playerId, plan.output, before);

  // The file first: a failure leaves the row as it was.
  WrittenImage written;
  try {
    written = SavePortraitPng(ComposePortrait(plan.layers), plan.output, !existed);
  } catch (...) {
    if (backup) backup->Drop(plan.output, existed);
    throw;
  }

  players.Edit();
  try {
    RecordPhoto(players, plan);
  } catch (...) {
    players.Cancel();
    throw;
  }
  const bool posted = PostOrCancel(players, session.Log(), kPhotoPostError);
  if (backup) {
    backup->Record(plan.output, existed, posted,
                   FileStamp{written.stamp.size, written.stamp.modified});
    if (own) own->Finish();
  }
}

void OpenPlayer(Session& session, Query& players, int playerId) {
  const std::string& game = session.LoadedGameName();
  if (game.empty()) throw Error(std::string(kLoadGameFirst));
  players.Add("SELECT *");
  players.Add("From " + QuoteSqlName(session.Game().Saved.playersTable));
  players.Add("WHERE player_id=" + std::to_string(playerId));
  players.Open(session.Data());
  if (players.RecordCount() == 0) {
    throw Error("There is no player " + std::to_string(playerId) + " in " + game + ".");
  }
  players.First();
}

std::filesystem::path MakePlayerPhoto(Session& session, int playerId, bool replaceLocked,
                                      const std::optional<PhotoUndo>& run) {
  const WriteCommand writing(session, kNewPhotoCommand);
  Query players;
  OpenPlayer(session, players, playerId);
  if (players.GetBool(kLockedField) && !replaceLocked) {
    throw LockedPhotoError(playerId);
  }
  CreatePlayerPhoto(session, players, playerId, run);
  return PortraitFile(session.Game().Saved.picturesFolder, playerId);
}

}  // namespace likentor
