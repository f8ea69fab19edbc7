#pragma once

// The player page: finding players by id or name into PlayersQuery, showing the picture the saved
// game holds for the current player, making him a new portrait, and leaving the page.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/portrait_types.h"
// The pages that show the players query name its fields as the players table does.
#include "import/players_fields.h"

namespace likentor {

class Session;

inline constexpr std::string_view kNoMatchesFound = "No matches found.";
inline constexpr std::string_view kDefaultPlayerPhoto = "default_player_photo.jpg";

// The "Player at a Time" group: texts as typed (no trimming, no change of case), the id 0 when no
// id is given.
struct PlayerSearch {
  std::string firstName;
  std::string lastName;
  int playerId = 0;
};

// The SQL lines of a search, rule by rule: the id alone when it is not 0; else a prefix match on
// the first name (and on the last name when one is given too); else on the last name. Empty when
// nothing is given. Typed texts match themselves only: quotes are doubled, and % _ \ are escaped
// for LIKE ... ESCAPE '\', so "O'Neill" is found and "%" is no wildcard.
std::vector<std::string> PlayerSearchSql(std::string_view gameName, const PlayerSearch& search);

// Search: runs the search on PlayersQuery. With rows, shows the player page with the first row
// current and answers true. Every search that cannot run (nothing given, no game loaded, a
// statement the store refuses) or finds nothing closes the query, clears its lines, shows the plain
// message "No matches found." and answers false; the dashboard stays shown.
bool PlayerSearchBtnClick(Session& session, const PlayerSearch& search);

// The picture the preview shows: a PNG as loaded, or a JPEG decoded (drawn at the top-left corner
// of the preview). The preview shows pictures at their own size, clipped.
struct PlayerPicture {
  std::filesystem::path file;
  std::variant<PngImage, Bitmap> image;
};

// The saved game's files for a player that See Current Photo tries, in order: Player_<id>.png,
// <first>_<last>.png, <first>_<last>.jpg, Player_<id>.jpg, default_player_photo.jpg.
std::vector<std::filesystem::path> CurrentPhotoCandidates(const std::filesystem::path& pictures,
                                                          int playerId, std::string_view firstName,
                                                          std::string_view lastName);

// See Current Photo: clears `preview`, then shows the first of the candidates that exists for the
// current row of PlayersQuery. The default picture is loaded without a test, so when it is missing
// too the load's Error ends the command and the preview stays empty.
void SeeCurrentPhotoBtnClick(Session& session, std::optional<PlayerPicture>& preview);

// See Current Photo for the player `playerId` of the loaded game: the first of his candidates
// that exists, the default picture taken without a test (its load's Error when it is missing).
// Error too when no game is loaded or there is no such player.
PlayerPicture CurrentPhoto(Session& session, int playerId);

// What Make New Photo made: the portrait the preview shows, and whether it replaced a locked
// player's picture (which may have been the user's own).
struct NewPhoto {
  PlayerPicture picture;
  bool replacedOwn = false;
};

// "The photo of Ann Lee is locked, and FILE may be a picture of your own. Replace it with a new
// portrait?"
std::string LockedPhotoQuestion(std::string_view name, const std::filesystem::path& file);

// Make New Photo for the player `playerId` of the loaded game, whatever his update_required holds.
// A locked player whose Player_<id>.png is there gets a new portrait only after LockedPhotoQuestion
// is answered OK; none when it is not. Error when no game is loaded, there is no such player or
// the portrait cannot be made (nothing is written then).
std::optional<NewPhoto> MakeNewPhoto(Session& session, int playerId);

// Make New Photo: makes the current player's portrait (whatever his `locked` and
// `update_required` hold) and shows Player_<id>.png. A failure ends the command with its Error and
// the preview keeps its earlier picture.
void MakeNewPhotoBtnClick(Session& session, std::optional<PlayerPicture>& preview);

// Done: posts a change still pending on the current row (as moving to another row would), then
// closes PlayersQuery, clears its lines and shows the dashboard. A post the store refuses ends the
// command with an Error; the page, the query and the edit stay as they were.
void PlayerDoneClick(Session& session);

// The nations' names by number (the number as the players table holds it, as text), for the
// player grid to show a name for nation_id. Error when nations.db cannot be read.
std::map<std::string, std::string> NationNames(Session& session);

}  // namespace likentor
