#pragma once

// The faces worn on each team's active roster: the players with a team (team_id other than 0) who
// are not retired, counted by team, ethnicity and face. The rule that no two teammates share a face
// asks it whether a face is taken; a face is the same picture only within one ethnicity, since
// every ethnicity numbers its faces on its own.

#include <map>
#include <tuple>

namespace likentor {

class Cursor;

// Whether a players row is on an active roster: a team other than 0, and not retired.
bool OnActiveRoster(int teamId, bool retired);

class TeamFaces {
 public:
  // Every row of a cursor over a players table (moved to its end).
  static TeamFaces Read(Cursor& players);

  // Counts the face of one roster player (nothing for team 0).
  void Add(int teamId, int ethnicity, int face);
  void Remove(int teamId, int ethnicity, int face);
  // How many players of the team wear the face.
  int Count(int teamId, int ethnicity, int face) const;
  bool Taken(int teamId, int ethnicity, int face) const {
    return Count(teamId, ethnicity, face) > 0;
  }

 private:
  std::map<std::tuple<int, int, int>, int> counts_;
};

}  // namespace likentor
