#include "app/player_photo.h"

#include "app/loaded_game.h"
#include "app/photo_plan.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "portrait/layer_cache.h"
#include "portrait/portrait_png.h"

namespace likentor {

int GetBackground(Session& session) {
  return DrawBackground(session.Random());
}

int GetAccessory(Session& session) {
  return DrawAccessory(session.Random(), session.Universal().AccessoriesTable.RecordCount());
}

void CreatePlayerPhoto(Session& session, int playerId) {
  Query& players = session.Game().PlayersQuery;
  PhotoRow row = ReadPhotoRow(players);
  row.playerId = playerId;  // names the file; everything else comes from the row
  PhotoLookups lookups(session);
  LayerCache layers(session.ProgramFolder());
  const PhotoPlan plan = PlanPlayerPhoto(session, lookups, layers, row);

  // The file first: a failure leaves the row as it was.
  SavePortraitPng(ComposePortrait(plan.layers), plan.output);

  players.Edit();
  try {
    RecordPhoto(players, plan);
  } catch (...) {
    players.Cancel();
    throw;
  }
  if (!players.Post()) {
    players.Cancel();
    session.Log().ReportError(kPhotoPostError);
  }
}

}  // namespace likentor
