#pragma once

// Looks a user steers after the import: a new look for one player ("relook", the player page's
// "New Look"), new faces for teammates who share one ("spread", Tools > "Spread Faces..."), and the
// game's setting that makes the import give new teammates different faces. Every draw is the
// import's own (AppearanceDraws, on the session's generator): only the faces a rule refuses are
// drawn again.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/player_search.h"   // PlayerPicture
#include "app/portrait_types.h"  // Appearance
#include "shell/error.h"

namespace likentor {

class Session;

// The draws over the session's open shared tables, as the import makes them.
AppearanceDraws SessionDraws(Session& session);

// The setting spread_faces of the saved game `name`, as the dashboard shows it when the games
// table's current row is that game's (pending edits included), else as stored; false for a game
// without a settings row yet, and for a games table without the field.
bool SpreadFacesSetting(Session& session, std::string_view name);

// What a new look keeps of the old one.
enum class KeepLook {
  Nothing,    // ethnicity, face, hair colour and facial hair are drawn again
  Ethnicity,  // face, hair colour and facial hair are drawn again
  Hair,       // only the face is drawn again
};

// The four drawn fields of a players row.
struct Look {
  int ethnicity = 0;
  int face = 0;
  int hairColor = 0;
  int facialHair = 0;
  bool operator==(const Look&) const = default;
};

// The look in words: "african face 12, hair colour 1, facial hair 3".
std::string DescribeLook(const Look& look);

struct Relook {
  int playerId = 0;
  std::string name;  // "First Last"
  Look before;
  Look after;
  std::filesystem::path photo;  // the portrait made, when one was asked for
};

// A locked player's look was not changed.
class LockedLookError : public Error {
 public:
  explicit LockedLookError(int playerId);
};

// A new look for the player `playerId` of the loaded game, drawn in the import's order (ethnicity,
// face, hair colour, facial hair) for what `keep` does not keep; update_required is set. The new
// face is never the one he had (of the same ethnicity) nor, while the catalogue has another, one
// that a teammate on his active roster wears. With `makePhoto` his portrait is made at once.
// Error when no game is loaded, when there is no such player, when his photo is locked and
// `replaceLocked` is false (LockedLookError), when the catalogue has no other face to give and
// when the store refuses the row.
Relook NewLook(Session& session, int playerId, KeepLook keep, bool makePhoto, bool replaceLocked);

// "New Look" of the player page, for the current row of PlayersQuery (open and positioned there by
// the caller): a whole new look and his portrait at once, which `preview` then shows. A locked
// player's look and photo change only after a confirmation. False when the user declined.
bool NewLookBtnClick(Session& session, std::optional<PlayerPicture>& preview);
// The same for the player `playerId`: the picture the preview then shows; none when the user
// declined.
std::optional<PlayerPicture> NewLookBtnClick(Session& session, int playerId);

// "New Look" of several players at once (the portraits page): each gets a whole new look and his
// portrait at once, and together they are one run, which one Undo Last Run takes back. One
// confirmation comes first when some of them are locked; declined, the locked ones are left as
// they are. Error when no game is loaded or the
// game has no such player (nobody is changed then); a failure midway keeps the looks made before
// it, as one run. The new looks made.
std::vector<Relook> NewLooks(Session& session, const std::vector<int>& playerIds);
// The run's title in its backup: "New Look for 3 players".
std::string NewLooksTitle(std::size_t players);

// One player given a new face by a spread.
struct SpreadChange {
  int playerId = 0;
  std::string name;  // "First Last"
  int teamId = 0;
  int ethnicity = 0;
  int oldFace = 0;
  int newFace = 0;
};

// For the team `teamId`, or every team when none is given: among the unlocked players of an
// active roster (team_id other than 0, not retired) who share a face of one ethnicity with a
// teammate, all but one get a face no teammate wears (drawn as the import draws, again while
// refused), and update_required. A locked teammate keeps his face and counts as wearing it. When
// the catalogue has no face left that the team does not wear, the player keeps his. Nobody else is
// changed. Error when no game is loaded, for a team the game does not have, and when the store
// refuses a row (the rows before it stay changed).
std::vector<SpreadChange> SpreadFaces(Session& session, std::optional<int> teamId);

// "Player 12 (Ann Lee), team 3: face 17 -> 803 (caucasian)."
std::string SpreadChangeLine(const SpreadChange& change);
// "Gave 3 players new faces." / "Gave 1 player a new face." / "No two teammates share a face."
std::string SpreadMessage(std::size_t changes);

// Tools > "Spread Faces...": for the team chosen in the team box (its team id; none for the whole
// universe), after a confirmation naming which; the guard ("Load a game first!") first, and the
// outcome in a plain message box. Returns the changes (none when cancelled).
std::vector<SpreadChange> SpreadFaces1Click(Session& session, std::optional<int> chosenTeam);

}  // namespace likentor
