#include "app/player_looks.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/player_photo.h"
#include "app/run_backup.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "database/games_table.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "import/players_fields.h"
#include "import/team_faces.h"
#include "portrait/artwork_paths.h"
#include "portrait/png_image.h"

namespace likentor {

namespace {

std::string FullName(const Cursor& players) {
  return players.GetText(kFirstNameField) + " " + players.GetText(kLastNameField);
}

// What New Look changes on a row, the look and then the portrait's fields: undo sets them back.
constexpr std::array<std::string_view, 9> kNewLookFields = {
    kEthnicityField,       kFaceField,           kHairColorField,
    kFacialHairStyleField, kAccessoryField,      kBackgroundField,
    kUniformTeamIdField,   kUpdateRequiredField, kAgeStepField};

Look ReadLook(const Cursor& players) {
  return {players.GetInt(kEthnicityField, 0), players.GetInt(kFaceField, 0),
          players.GetInt(kHairColorField, 0), players.GetInt(kFacialHairStyleField, 0)};
}

// The players of one team, or of every team, on a cursor of their own.
void OpenTeamPlayers(Session& session, Query& players, std::optional<int> teamId) {
  players.Add("SELECT *");
  players.Add("From " + QuoteSqlName(session.Game().Saved.playersTable));
  if (teamId) {
    players.Add("WHERE team_id=" + std::to_string(*teamId));
  } else {
    players.Add("WHERE team_id<>0");
  }
  players.Open(session.Data());
}

void PostNewLook(Cursor& players, int playerId) {
  PostOrThrow(players, "The new look of player " + std::to_string(playerId));
}

}  // namespace

AppearanceDraws SessionDraws(Session& session) {
  UniversalTables& shared = session.Universal();
  return AppearanceDraws(session.Random(), {shared.NationsTable, shared.AfricanFacesTable,
                                            shared.AsianFacesTable, shared.CaucasianFacesTable,
                                            shared.EastIndianFacesTable, shared.FacialHairTable});
}

bool SpreadFacesSetting(Session& session, std::string_view name) {
  const std::string stored = TruncateUtf8(name, kUniverseNameSize);
  Table& current = session.Universal().GamesTable;
  if (current.IsOpen() && !current.Eof() && current.RecordCount() > 0 &&
      current.GetText("universe_name") == stored) {
    return current.HasField(kSpreadFacesField) && current.GetBool(kSpreadFacesField);
  }
  Table games(session.Data(), kGamesTable);
  if (!games.HasField(kSpreadFacesField) || !games.Locate("universe_name", stored)) return false;
  return games.GetBool(kSpreadFacesField);
}

LockedLookError::LockedLookError(int playerId)
    : Error("The photo of player " + std::to_string(playerId) +
            " is locked: it may be a picture of your own, so his look was not changed.") {}

namespace {

// New Look, its portrait recorded in `backup` when one is given (a run of several new looks).
Relook NewLookIn(Session& session, int playerId, KeepLook keep, bool makePhoto, bool replaceLocked,
                 RunBackup* backup) {
  const WriteCommand writing(session, kNewLookCommand);
  RequireLoadedGame(session);
  Table players(session.Data(), session.Game().Saved.playersTable);
  if (!players.Locate(kPlayerIdField, playerId)) {
    throw Error("There is no player " + std::to_string(playerId) + " in " +
                session.LoadedGameName() + ".");
  }
  if (players.GetBool(kLockedField) && !replaceLocked) throw LockedLookError(playerId);

  Relook result;
  result.playerId = playerId;
  result.name = FullName(players);
  result.before = ReadLook(players);
  const RowValues rowBefore = ReadRowValues(players, kNewLookFields);
  const int teamId = players.GetInt(kTeamIdField, 0);
  const bool onRoster = OnActiveRoster(teamId, players.GetBool(kRetiredField));
  TeamFaces teamFaces;
  if (onRoster) {
    Query team;
    OpenTeamPlayers(session, team, teamId);
    teamFaces = TeamFaces::Read(team);
    teamFaces.Remove(teamId, result.before.ethnicity, result.before.face);
  }

  AppearanceDraws draws = SessionDraws(session);
  Look& after = result.after;
  after = result.before;
  if (keep == KeepLook::Nothing)
    after.ethnicity = draws.GetEthnicity(players.GetInt(kNationIdField, 0));
  const auto hisOldFace = [&](int face) {
    return after.ethnicity == result.before.ethnicity && face == result.before.face;
  };
  after.face = draws.GetFaceExcept(after.ethnicity, [&](int face) {
    return hisOldFace(face) || (onRoster && teamFaces.Taken(teamId, after.ethnicity, face));
  });
  // Every face the catalogue gives is worn in his team: any but his own will do.
  if (after.face == 0) after.face = draws.GetFaceExcept(after.ethnicity, hisOldFace);
  if (after.face == 0) {
    throw Error(
        "The " + EthnString(after.ethnicity) + " face catalogue has no face other than face " +
        std::to_string(result.before.face) + " to give player " + std::to_string(playerId) + ".");
  }
  if (keep != KeepLook::Hair) {
    after.hairColor = draws.GetHairColor(after.ethnicity);
    after.facialHair = draws.GetFacialHair();
  }

  players.Edit();
  players.SetInt(kEthnicityField, after.ethnicity);
  players.SetInt(kFaceField, after.face);
  players.SetInt(kHairColorField, after.hairColor);
  players.SetInt(kFacialHairStyleField, after.facialHair);
  players.SetBool(kUpdateRequiredField, true);
  PostNewLook(players, playerId);
  players.Close();
  // The portrait's backup holds the whole row as it was, so that undo takes back the look too.
  if (makePhoto) {
    result.photo = MakePlayerPhoto(session, playerId, true,
                                   PhotoUndo{"New Look for " + result.name, rowBefore, backup});
  }
  return result;
}

}  // namespace

Relook NewLook(Session& session, int playerId, KeepLook keep, bool makePhoto, bool replaceLocked) {
  return NewLookIn(session, playerId, keep, makePhoto, replaceLocked, nullptr);
}

std::string NewLooksTitle(std::size_t players) {
  return players == 1 ? "New Look for 1 player"
                      : "New Look for " + std::to_string(players) + " players";
}

std::vector<Relook> NewLooks(Session& session, const std::vector<int>& playerIds) {
  const WriteCommand writing(session, kNewLookCommand);
  RequireLoadedGame(session);
  // Every player is looked up first: an id the game does not have changes nobody.
  std::vector<int> locked;
  {
    Table players(session.Data(), session.Game().Saved.playersTable);
    for (int id : playerIds) {
      if (!players.Locate(kPlayerIdField, id)) {
        throw Error("There is no player " + std::to_string(id) + " in " + session.LoadedGameName() +
                    ".");
      }
      if (players.GetBool(kLockedField)) locked.push_back(id);
    }
  }
  const bool replaceLocked =
      locked.empty() ||
      session.UserPrompts().Confirm(
          (locked.size() == 1
               ? std::string("1 of the chosen players is locked")
               : std::to_string(locked.size()) + " of the chosen players are locked") +
          ", and a locked photo may be a picture of your own. Give them new looks and replace "
          "their photos too?");
  std::vector<int> chosen;
  for (int id : playerIds) {
    if (replaceLocked || std::find(locked.begin(), locked.end(), id) == locked.end()) {
      chosen.push_back(id);
    }
  }
  // One player's new look is a run of its own, named after him.
  std::optional<RunBackup> backup;
  if (chosen.size() > 1 && KeptRuns(session.ProgramFolder()) > 0) {
    backup.emplace(session.ProgramFolder(), session.LoadedGameName(),
                   session.Game().Saved.picturesFolder, NewLooksTitle(chosen.size()));
  }
  std::vector<Relook> made;
  try {
    for (int id : chosen) {
      made.push_back(
          NewLookIn(session, id, KeepLook::Nothing, true, true, backup ? &*backup : nullptr));
    }
  } catch (...) {
    // What was made stays one run that undo takes back.
    if (backup) backup->Finish();
    throw;
  }
  if (backup) backup->Finish();
  return made;
}

bool NewLookBtnClick(Session& session, std::optional<PlayerPicture>& preview) {
  RequireLoadedGame(session);
  Query& current = session.Game().PlayersQuery;
  if (!current.IsOpen() || current.Eof()) throw Error("Pick a player first.");
  std::optional<PlayerPicture> picture = NewLookBtnClick(session, current.GetInt(kPlayerIdField));
  if (!picture) return false;
  preview = std::move(picture);
  return true;
}

std::optional<PlayerPicture> NewLookBtnClick(Session& session, int playerId) {
  Query player;
  OpenPlayer(session, player, playerId);
  if (player.GetBool(kLockedField) &&
      !session.UserPrompts().Confirm("The photo of " + FullName(player) +
                                     " is locked and may be a picture of your own. Give him a "
                                     "new look and replace his photo?")) {
    return std::nullopt;
  }
  const Relook relook = NewLook(session, playerId, KeepLook::Nothing, true, true);
  return PlayerPicture{relook.photo, PngImage::Load(relook.photo)};
}

std::vector<SpreadChange> SpreadFaces(Session& session, std::optional<int> teamId) {
  const WriteCommand writing(session, kSpreadCommand);
  RequireLoadedGame(session);
  if (teamId) {
    Table teams(session.Data(), session.Game().Saved.teamsTable);
    if (*teamId == 0 || !teams.Locate("team_id", *teamId)) {
      throw Error("There is no team " + std::to_string(*teamId) + " in " +
                  session.LoadedGameName() + ".");
    }
  }

  struct Member {
    int playerId = 0;
    std::string name;
    int teamId = 0;
    int ethnicity = 0;
    int face = 0;
    bool locked = false;
  };
  std::vector<Member> members;
  {
    Query players;
    OpenTeamPlayers(session, players, teamId);
    for (players.First(); !players.Eof(); players.Next()) {
      const int team = players.GetInt(kTeamIdField, 0);
      if (!OnActiveRoster(team, players.GetBool(kRetiredField))) continue;
      members.push_back({players.GetInt(kPlayerIdField), FullName(players), team,
                         players.GetInt(kEthnicityField, 0), players.GetInt(kFaceField, 0),
                         players.GetBool(kLockedField)});
    }
  }

  // Who keeps a shared face: a locked teammate (his picture may be the user's own), else the
  // first in player order. Everyone else of the group draws again.
  TeamFaces worn;
  std::map<std::tuple<int, int, int>, bool> kept;
  for (const Member& m : members) {
    worn.Add(m.teamId, m.ethnicity, m.face);
    if (m.locked) kept[{m.teamId, m.ethnicity, m.face}] = true;
  }
  std::vector<const Member*> movers;
  for (const Member& m : members) {
    if (m.locked) continue;
    bool& someoneKeeps = kept[{m.teamId, m.ethnicity, m.face}];
    if (!someoneKeeps) {
      someoneKeeps = true;
      continue;
    }
    movers.push_back(&m);
  }

  std::vector<SpreadChange> changes;
  if (movers.empty()) return changes;
  AppearanceDraws draws = SessionDraws(session);
  const std::string& tableName = session.Game().Saved.playersTable;
  Table table(session.Data(), tableName);
  TableTransaction transaction(session.Data(), tableName);
  for (const Member* m : movers) {
    const int face = draws.GetFaceExcept(
        m->ethnicity, [&](int f) { return worn.Taken(m->teamId, m->ethnicity, f); });
    if (face == 0) continue;  // the team wears every face of the catalogue
    if (!table.Locate(kPlayerIdField, m->playerId)) continue;
    table.Edit();
    table.SetInt(kFaceField, face);
    table.SetBool(kUpdateRequiredField, true);
    PostNewLook(table, m->playerId);
    worn.Remove(m->teamId, m->ethnicity, m->face);
    worn.Add(m->teamId, m->ethnicity, face);
    changes.push_back({m->playerId, m->name, m->teamId, m->ethnicity, m->face, face});
  }
  transaction.Commit();
  return changes;
}

std::string SpreadChangeLine(const SpreadChange& c) {
  return "Player " + std::to_string(c.playerId) + " (" + c.name + "), team " +
         std::to_string(c.teamId) + ": face " + std::to_string(c.oldFace) + " -> " +
         std::to_string(c.newFace) + " (" + EthnString(c.ethnicity) + ").";
}

std::string SpreadMessage(std::size_t changes) {
  if (changes == 0) return "No two teammates share a face.";
  if (changes == 1) return "Gave 1 player a new face.";
  return "Gave " + std::to_string(changes) + " players new faces.";
}

std::vector<SpreadChange> SpreadFaces1Click(Session& session, std::optional<int> chosenTeam) {
  if (!GameLoadedGuard(session)) return {};
  std::optional<int> teamId;
  std::string scope = "in the whole universe";
  for (const TeamItem& item : session.Window().teams) {
    if (chosenTeam && item.teamId == *chosenTeam) {
      teamId = item.teamId;
      scope = "of " + item.text;
    }
  }
  if (!session.UserPrompts().Confirm("Give new faces to the players " + scope +
                                     " who share a face with a teammate?")) {
    return {};
  }
  std::vector<SpreadChange> changes = SpreadFaces(session, teamId);
  std::string text = SpreadMessage(changes.size());
  constexpr std::size_t kListed = 20;
  for (std::size_t i = 0; i < changes.size() && i < kListed; ++i) {
    text += '\n';
    text += SpreadChangeLine(changes[i]);
  }
  if (changes.size() > kListed) {
    text += "\n... and ";
    text += std::to_string(changes.size() - kListed) + " more.";
  }
  session.UserPrompts().ShowMessage(text);
  return changes;
}

std::string DescribeLook(const Look& look) {
  return EthnString(look.ethnicity) + " face " + std::to_string(look.face) + ", hair colour " +
         std::to_string(look.hairColor) + ", facial hair " + std::to_string(look.facialHair);
}

}  // namespace likentor
