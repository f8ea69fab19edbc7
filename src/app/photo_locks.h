#pragma once

// The locks page: lock or unlock the photos of every player, every active player or every retired
// player of the loaded game at once. Only `locked` changes; `update_required` keeps its value.

#include <string>
#include <string_view>

namespace likentor {

class Session;

enum class LockScope { All, Active, Retired };

inline constexpr std::string_view kLocksSuccess = "Success!";

// The condition line of a scope: none for All, "WHERE retired<>'true'" for Active (a row whose
// `retired` is not true counts as active), "WHERE retired='true'" for Retired.
std::string LockConditionLine(LockScope scope);

// Writes `locked` to every selected row of the players table through PlayersQuery, then closes
// the query, clears its lines and shows "Success!". The value is written also to rows that hold it
// already. A row the store refuses stops the operation with an Error carrying the store's reason:
// rows before it keep their new value, no "Success!" is shown and PlayersQuery stays open until
// the next command that uses it. Without a loaded game: "Load a game first!" and nothing else.
void SetPhotoLocks(Session& session, LockScope scope, bool locked);

// "2,800 retired players", "1 active player", "12 players" (All names no kind).
std::string PlayersInScopeText(LockScope scope, int count);
// "Lock the photos of 2,800 retired players?", "Unlock the photos of 12 players?"
std::string LocksQuestion(LockScope scope, bool locked, int count);
// "Locked 2,800 retired players.", "Unlocked 1 active player."
std::string LocksDoneText(LockScope scope, bool locked, int count);
// "There are no retired players to lock."
std::string NoPlayersToLockText(LockScope scope, bool locked);

// The window's form of SetPhotoLocks: the rows of the scope are counted first and the user is
// asked (LocksQuestion); Cancel writes nothing. The end is told with the count (LocksDoneText)
// instead of "Success!"; a scope without players says so (NoPlayersToLockText) and asks nothing.
// A refused row stops the run as in SetPhotoLocks. Answers how many rows were written.
int AskAndSetPhotoLocks(Session& session, LockScope scope, bool locked);

// The six buttons of the page, in the order they stand: the lock row above the unlock row, each
// row all, active, retired.
// "Lock All", "Lock All Active", "Lock All Retired"
inline void Button8Click(Session& session) {
  SetPhotoLocks(session, LockScope::All, true);
}
inline void Button5Click(Session& session) {
  SetPhotoLocks(session, LockScope::Active, true);
}
inline void Button4Click(Session& session) {
  SetPhotoLocks(session, LockScope::Retired, true);
}
// "Unlock All", "Unlock All Active", "Unlock All Retired"
inline void Button1Click(Session& session) {
  SetPhotoLocks(session, LockScope::All, false);
}
inline void Button2Click(Session& session) {
  SetPhotoLocks(session, LockScope::Active, false);
}
inline void Button3Click(Session& session) {
  SetPhotoLocks(session, LockScope::Retired, false);
}

}  // namespace likentor
