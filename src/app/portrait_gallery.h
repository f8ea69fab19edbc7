#pragma once

// What the portraits page shows: the players of a team in roster order, the players a run made,
// or the player page's matches; for each, the picture the player page would show (the five-file
// order), whether it is the user's own, and the picture a run replaced. And the page's commands on
// players by id: locking, and its contact sheet.

#include <filesystem>
#include <string>
#include <vector>

namespace likentor {

class Session;

struct GalleryPlayer {
  int playerId = 0;
  std::string firstName;
  std::string lastName;
  int teamId = 0;
  std::string team;  // the team box's "team_name nickname"; empty for a player of no team
  int position = 0;
  bool locked = false;
  // The picture a run wrote over, as its backup keeps it; empty when the run replaced none.
  std::filesystem::path before;

  std::string Name() const { return firstName + " " + lastName; }
};

struct Gallery {
  std::string title;  // names the game and what is shown, for the contact sheet
  std::filesystem::path picturesFolder;
  std::vector<GalleryPlayer> players;
};

// The players of the team `teamId` as the game lists a roster: by position, then last and first
// name. Error when no game is loaded or the game has no such team.
Gallery TeamGallery(Session& session, int teamId);

// The players a run made portraits of, team by team (in the team box's order, players of no team
// last), each team as a roster; with the pictures the run replaced when `backupFolder` keeps them.
// Ids the game does not have are passed over. Error when no game is loaded.
Gallery RunGallery(Session& session, const std::vector<int>& playerIds,
                   const std::filesystem::path& backupFolder);

// The players of the player page's search (the rows of the players query), in its order; none
// when no search is open. Error when no game is loaded.
Gallery SearchGallery(Session& session);

// A player's current picture: the first of the five files of See Current Photo that exists
// (CurrentPhotoCandidates), the folder's default picture when none does. `own` tells a picture of
// the user's own (named after the player, or a JPEG) from the portrait the program made and the
// default. Reads only the picture folder, so it may run on any thread.
struct GalleryPicture {
  std::filesystem::path file;
  bool own = false;
};
GalleryPicture CurrentGalleryPicture(const std::filesystem::path& picturesFolder,
                                     const GalleryPlayer& player);

// Lock / Unlock of the portraits page: sets `locked` on the rows of `playerIds`. Error when no
// game is loaded, and when the store refuses a row (the rows before it stay changed).
void SetPlayersLocked(Session& session, const std::vector<int>& playerIds, bool locked);

// The contact sheet of a gallery, as "likentor sheet" draws it: each player's current picture
// with "J. Smith" under it, and the gallery's title with the number of pictures. Error when the
// gallery is empty or the file cannot be written.
void WriteGallerySheet(const Gallery& gallery, const std::filesystem::path& file);

}  // namespace likentor
