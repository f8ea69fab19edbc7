#include "import/team_faces.h"

#include "database/table_store.h"
#include "import/players_fields.h"

namespace likentor {

bool OnActiveRoster(int teamId, bool retired) {
  return teamId != 0 && !retired;
}

TeamFaces TeamFaces::Read(Cursor& players) {
  TeamFaces faces;
  for (players.First(); !players.Eof(); players.Next()) {
    if (!OnActiveRoster(players.GetInt(kTeamIdField, 0), players.GetBool(kRetiredField))) continue;
    faces.Add(players.GetInt(kTeamIdField, 0), players.GetInt(kEthnicityField, 0),
              players.GetInt(kFaceField, 0));
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
