#include "app/photo_locks.h"

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/session.h"
#include "app/write_command.h"
#include "import/game_tables.h"

namespace likentor {

std::string LockConditionLine(LockScope scope) {
  switch (scope) {
    case LockScope::All:
      return "";
    case LockScope::Active:
      return "WHERE retired<>'true'";
    case LockScope::Retired:
      return "WHERE retired='true'";
  }
  return "";
}

void SetPhotoLocks(Session& session, LockScope scope, bool locked) {
  const WriteCommand writing(session, kLocksCommand);
  if (!GameLoadedGuard(session)) return;
  Query& players = session.Game().PlayersQuery;
  players.Clear();
  const std::string& tableName = session.Game().Saved.playersTable;
  players.Add("SELECT *");
  players.Add("From " + QuoteSqlName(tableName));
  if (const std::string condition = LockConditionLine(scope); !condition.empty()) {
    players.Add(condition);
  }
  players.Open(session.Data());
  players.First();
  // One transaction for the whole run keeps tens of thousands of posts fast; it commits what was
  // posted also when a refused row ends the run.
  TableTransaction transaction(session.Data(), tableName);
  // Moving to the next row posts the edit; at the last row the move only posts. A refused post
  // throws from Next and leaves the query open where it stopped.
  const int rows = players.RecordCount();
  for (int i = 0; i < rows; ++i) {
    players.Edit();
    players.SetBool("locked", locked);
    players.Next();
  }
  transaction.Commit();
  players.Clear();
  session.UserPrompts().ShowMessage(kLocksSuccess);
}

}  // namespace likentor
