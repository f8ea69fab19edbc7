#include "app/photo_locks.h"

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/session.h"
#include "app/write_command.h"
#include "import/game_tables.h"
#include "import/players_fields.h"

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

namespace {

// "2,800": thousands grouped as the messages write them.
std::string GroupedCount(int count) {
  std::string digits = std::to_string(count < 0 ? -count : count);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
    digits.insert(static_cast<std::size_t>(i), ",");
  }
  return count < 0 ? "-" + digits : digits;
}

// Opens PlayersQuery on the rows of `scope` at its first row.
void OpenScope(Session& session, LockScope scope) {
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
}

// Writes `locked` to every row of the open PlayersQuery, then closes it and clears its lines.
void WriteLocks(Session& session, bool locked) {
  Query& players = session.Game().PlayersQuery;
  // One transaction for the whole run keeps tens of thousands of posts fast; it commits what was
  // posted also when a refused row ends the run.
  TableTransaction transaction(session.Data(), session.Game().Saved.playersTable);
  // Moving to the next row posts the edit; at the last row the move only posts. A refused post
  // throws from Next and leaves the query open where it stopped.
  const int rows = players.RecordCount();
  for (int i = 0; i < rows; ++i) {
    players.Edit();
    players.SetBool(kLockedField, locked);
    players.Next();
  }
  transaction.Commit();
  players.Clear();
}

}  // namespace

void SetPhotoLocks(Session& session, LockScope scope, bool locked) {
  const WriteCommand writing(session, kLocksCommand);
  if (!GameLoadedGuard(session)) return;
  OpenScope(session, scope);
  WriteLocks(session, locked);
  session.UserPrompts().ShowMessage(kLocksSuccess);
}

std::string PlayersInScopeText(LockScope scope, int count) {
  const char* kind = scope == LockScope::Active    ? "active "
                     : scope == LockScope::Retired ? "retired "
                                                   : "";
  return GroupedCount(count) + " " + kind + (count == 1 ? "player" : "players");
}

std::string LocksQuestion(LockScope scope, bool locked, int count) {
  return std::string(locked ? "Lock" : "Unlock") + " the photos of " +
         PlayersInScopeText(scope, count) + "?";
}

std::string LocksDoneText(LockScope scope, bool locked, int count) {
  return std::string(locked ? "Locked " : "Unlocked ") + PlayersInScopeText(scope, count) + ".";
}

std::string NoPlayersToLockText(LockScope scope, bool locked) {
  const char* kind = scope == LockScope::Active    ? "active "
                     : scope == LockScope::Retired ? "retired "
                                                   : "";
  return std::string("There are no ") + kind + "players to " + (locked ? "lock." : "unlock.");
}

int AskAndSetPhotoLocks(Session& session, LockScope scope, bool locked) {
  const WriteCommand writing(session, kLocksCommand);
  if (!GameLoadedGuard(session)) return 0;
  OpenScope(session, scope);
  const int count = session.Game().PlayersQuery.RecordCount();
  if (count == 0) {
    session.Game().PlayersQuery.Clear();
    session.UserPrompts().ShowMessage(NoPlayersToLockText(scope, locked));
    return 0;
  }
  if (!session.UserPrompts().Confirm(LocksQuestion(scope, locked, count))) {
    session.Game().PlayersQuery.Clear();
    return 0;
  }
  WriteLocks(session, locked);
  session.UserPrompts().ShowMessage(LocksDoneText(scope, locked, count));
  return count;
}

}  // namespace likentor
