#pragma once

// Making the portrait of one player: the draws (background every time, accessory once), the
// uniform team, the layers from the artwork kit, the PNG file "Player_<id>.png" in the loaded
// saved game's picture folder, and the row values that record it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/run_backup.h"          // RowValues
#include "portrait/artwork_paths.h"  // EthnString
#include "shell/error.h"

namespace likentor {

class Cursor;
class Query;
class Session;

inline constexpr std::string_view kPhotoPostError =
    "Error posting to players table while creating photo.";

// A new background number, 1..69 (a draw below 70 with 0 taken as 1).
int GetBackground(Session& session);
// A new accessory number, 0..n-1 with n = the accessories table's record count - 1 (0 when n < 1).
int GetAccessory(Session& session);

// How the backup of one portrait names its run and which row values it keeps for undo: by
// default "Make New Photo of player <id>" and the fields the portrait changes. A command that
// changed more of the row before it (New Look) gives its own name and the values it found. A
// command that makes several portraits as one run gives the run's backup, which it finishes
// itself; the title is then that backup's.
struct PhotoUndo {
  std::string title;
  RowValues before;
  RunBackup* backup = nullptr;
};

// Makes the portrait of the player on the current row of the session's PlayersQuery (open and
// positioned there by the caller; `playerId` only names the file) and records it on the row: the
// accessory when it was 0 and the draw gave another, the new background, uniform_team_id, and
// update_required false. The locked flag is not looked at.
// A missing or undecodable artwork file (or a bad team colour) throws Error naming it: no file is
// written and the row is left unchanged. A refused post is cancelled and logged with
// kPhotoPostError; the portrait file stays and the call returns normally.
void CreatePlayerPhoto(Session& session, int playerId);
// The same on the current row of another cursor over the players table.
void CreatePlayerPhoto(Session& session, Cursor& players, int playerId,
                       const std::optional<PhotoUndo>& run = std::nullopt);

// A locked player's photo was not replaced.
class LockedPhotoError : public Error {
 public:
  explicit LockedPhotoError(int playerId);
};

// Opens `players` on the row of the player `playerId` of the loaded game. Error when no game is
// loaded and when the game has no such player.
void OpenPlayer(Session& session, Query& players, int playerId);

// One player's portrait by id, whatever his update_required holds (the command line's "photos
// NAME --player ID"). Error when no game is loaded, when the game has no such player, and when his
// photo is locked and `replaceLocked` is false (a locked picture may be the user's own). Leaves
// PlayersQuery alone. Returns the file written.
std::filesystem::path MakePlayerPhoto(Session& session, int playerId, bool replaceLocked,
                                      const std::optional<PhotoUndo>& run = std::nullopt);

}  // namespace likentor
