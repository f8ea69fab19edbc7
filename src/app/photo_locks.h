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

// The six buttons of the page.
inline void Button8Click(Session& s) {
  SetPhotoLocks(s, LockScope::All, true);
}  // Lock All
inline void Button5Click(Session& s) {
  SetPhotoLocks(s, LockScope::Active, true);
}  // Lock All Active
inline void Button4Click(Session& s) {
  SetPhotoLocks(s, LockScope::Retired, true);
}  // Lock All Retired
inline void Button1Click(Session& s) {
  SetPhotoLocks(s, LockScope::All, false);
}  // Unlock All
inline void Button2Click(Session& s) {
  SetPhotoLocks(s, LockScope::Active, false);
}  // Unlock All Active
inline void Button3Click(Session& s) {
  SetPhotoLocks(s, LockScope::Retired, false);
}  // Unlock All Retired

}  // namespace likentor
