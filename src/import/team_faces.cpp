#include "import/team_faces.h"

#include "database/table_store.h"

namespace likentor {

bool OnActiveRoster(int teamId, bool retired) {
  return teamId != 0 && !retired;
}

TeamFaces TeamFaces::Read(Cursor& players) {
  TeamFaces faces;
  for (players.First(); !players.Eof(); players.Next()) {
    if (!OnActiveRoster(players.GetInt("team_id", 0), players.GetBool("retired"))) continue;
    faces.Add(players.GetInt("team_id", 0), players.GetInt("ethnicity", 0),
              players.GetInt("face", 0));
  }
  return faces;
}

void TeamFaces::Add(int teamId, int ethnicity, int face) {
  if (teamId == 0) return;
  ++counts_[{teamId, ethnicity, face}];
}

void TeamFaces::Remove(int teamId, int ethnicity, int face) {
  const auto found = counts_.find({teamId, ethnicity, face});
  if (found == counts_.end()) return;
  if (--found->second <= 0) counts_.erase(found);
}

int TeamFaces::Count(int teamId, int ethnicity, int face) const {
  const auto found = counts_.find({teamId, ethnicity, face});
  return found == counts_.end() ? 0 : found->second;
}

}  // namespace likentor
