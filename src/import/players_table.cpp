#include "import/players_table.h"

#include <optional>
#include <string>
#include <system_error>

#include "database/connection.h"
#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "import/career_tables.h"
#include "import/game_tables.h"
#include "import/picture_names.h"
#include "import/team_faces.h"
#include "portrait/aging.h"
#include "portrait/appearance.h"
#include "portrait/portrait_png.h"
#include "shell/error.h"
#include "shell/error_log.h"
#include "shell/folders.h"

namespace likentor {

namespace {

constexpr int kPitcher = 1;

// The facts of one export line, read in the order the fields are needed.
struct PlayerLine {
  int playerId = 0;
  std::string idText;
  std::string firstName;
  std::string lastName;
  int nationId = 0;
  bool retired = false;
  int teamId = 0;
  int position = 0;
  int hand = 0;
};

PlayerLine ReadPlayerLine(const TextFileReader& file, const std::vector<std::string>& fields) {
  PlayerLine p;
  p.playerId = WholeNumberAt(file, fields, 0);
  p.idText = fields[0];
  p.firstName = FieldAt(file, fields, 1);
  p.lastName = FieldAt(file, fields, 2);
  p.nationId = WholeNumberAt(file, fields, 7);
  p.retired = FieldAt(file, fields, 11) == "1";
  p.teamId = WholeNumberAt(file, fields, 15);
  p.position = WholeNumberAt(file, fields, 58);
  p.hand = WholeNumberAt(file, fields, 26);
  return p;
}

// Career figures are written on every load: innings for a pitcher, at-bats for anyone else, and
// the team he played most for.
void WriteCareer(Table& table, const PlayerLine& p, const CareerSums& batting,
                 const CareerSums& pitching) {
  CareerFigures figures;
  if (p.position == kPitcher) {
    figures = GetCareerIP(pitching, p.playerId);
    table.SetInt(kCareerAbField, 0);
    table.SetInt(kCareerIpField, figures.total);
  } else {
    figures = GetCareerAB(batting, p.playerId);
    table.SetInt(kCareerIpField, 0);
    table.SetInt(kCareerAbField, figures.total);
  }
  table.SetInt(kRetiredAsTeamField, figures.mainTeam);
  table.SetInt(kCareerSeasonsField, CareerSeasons(batting, pitching, p.playerId));
}

void UpdateKnownPlayer(Table& table, const PlayerLine& p, const CareerSums& batting,
                       const CareerSums& pitching, bool playersAge) {
  table.Edit();
  WriteTextIfChanged(table, kFirstNameField, p.firstName);
  WriteTextIfChanged(table, kLastNameField, p.lastName);
  WriteIntIfChanged(table, kNationIdField, p.nationId);
  table.SetBool(kRetiredField, p.retired);
  // A move flags the player for a new photo, unless he moved to no team. Nothing here clears the
  // flag: only a new portrait does.
  if (table.IsNull(kTeamIdField) || table.GetInt(kTeamIdField) != p.teamId) {
    table.SetInt(kTeamIdField, p.teamId);
    if (p.teamId != 0) table.SetBool(kUpdateRequiredField, true);
  }
  WriteIntIfChanged(table, kPositionField, p.position);
  WriteIntIfChanged(table, kHandField, p.hand);
  WriteCareer(table, p, batting, pitching);
  // A portrait shows the age step it was made at; one that no longer matches is due again.
  const int step = playersAge ? AgeStep(table.GetInt(kCareerSeasonsField, 0)) : 0;
  if (step != table.GetInt(kAgeStepField, 0)) table.SetBool(kUpdateRequiredField, true);
}

// A new player's face draws again, at most this many times, while a teammate wears it.
constexpr int kTeammateFaceRedraws = 3;

void AppendNewPlayer(Table& table, const PlayerLine& p, const CareerSums& batting,
                     const CareerSums& pitching, const std::filesystem::path& picturesFolder,
                     PictureNames& pictures, AppearanceDraws& looks, const TeamFaces* teamFaces) {
  table.Append();
  table.SetInt(kPlayerIdField, p.playerId);
  table.SetText(kFirstNameField, p.firstName);
  table.SetText(kLastNameField, p.lastName);
  table.SetInt(kNationIdField, p.nationId);
  table.SetBool(kRetiredField, p.retired);
  table.SetInt(kTeamIdField, p.teamId);
  table.SetBool(kUpdateRequiredField, true);
  table.SetInt(kPositionField, p.position);
  table.SetInt(kHandField, p.hand);
  WriteCareer(table, p, batting, pitching);
  table.SetBool(kLockedField,
                PlayerPhotoExists(picturesFolder, p.firstName, p.lastName, p.idText, &pictures));
  const int ethnicity = looks.GetEthnicity(p.nationId);
  table.SetInt(kEthnicityField, ethnicity);
  table.SetInt(kBackgroundField, 0);
  if (teamFaces != nullptr && OnActiveRoster(p.teamId, p.retired)) {
    table.SetInt(
        kFaceField,
        looks.GetFaceAvoiding(
            ethnicity, [&](int face) { return teamFaces->Taken(p.teamId, ethnicity, face); },
            kTeammateFaceRedraws));
  } else {
    table.SetInt(kFaceField, looks.GetFace(ethnicity));
  }
  table.SetInt(kUniformTeamIdField, 0);
  table.SetInt(kHairColorField, looks.GetHairColor(ethnicity));
  table.SetInt(kHairStyleField, 0);
  table.SetInt(kFacialHairStyleField, looks.GetFacialHair());
  table.SetInt(kAccessoryField, 0);
}

// The existing-photo rule reads the picture folder: one that is there but cannot be read would
// make every player look photo-less and leave unlocked the pictures of the user's own. A game
// without the folder has no photos yet.
void CheckPicturesFolder(const std::filesystem::path& folder) {
  const auto refuse = [&folder](const std::string& why) {
    throw Error("Cannot read the picture folder \"" + folder.string() + "\": " + why + ".");
  };
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(folder, ec);
  if (status.type() == std::filesystem::file_type::not_found) return;
  if (ec) refuse(ec.message());
  if (!std::filesystem::is_directory(status)) refuse("it is not a folder");
  std::filesystem::directory_iterator entries(folder, ec);
  if (ec) refuse(ec.message());
}

}  // namespace

void CreatePlayersTable(Database& db, const SavedGame& game) {
  db.CreateTable(game.playersTable, PlayersTableFields());
}

void AddMissingPlayersFields(Database& db, const SavedGame& game) {
  Connection& connection = db.ConnectionFor(game.playersTable);
  bool added = false;
  for (const std::string_view name : {kCareerSeasonsField, kAgeStepField}) {
    bool there = false;
    for (const FieldDef& field : connection.Fields()) there = there || field.name == name;
    if (there) continue;
    connection.Execute("ALTER TABLE " + connection.QuotedTable() + " ADD COLUMN " +
                       QuoteSqlName(name) + " INTEGER");
    added = true;
  }
  // The next cursor reads the fields again.
  if (added) db.Release(game.playersTable);
}

void UpdatePlayersTable(Database& db, ErrorLog& log, const SavedGame& game,
                        const CareerSums& batting, const CareerSums& pitching,
                        AppearanceDraws& looks, bool spreadFaces, const RowsRead& rowsRead,
                        bool playersAge) {
  const std::string& tableName = game.playersTable;
  const std::filesystem::path& picturesFolder = game.picturesFolder;
  CheckPicturesFolder(picturesFolder);
  PictureNames pictures(picturesFolder);
  Table table(db, tableName);
  TableTransaction transaction(db, tableName, TableTransaction::Unfinished::RollBack);
  // With the rule that teammates differ, the faces of every roster as the import leaves it: the
  // rows already there, and each row as it is posted (a player who moved leaves his old team).
  std::optional<TeamFaces> teamFaces;
  if (spreadFaces) teamFaces = TeamFaces::Read(table);
  const auto rosterFace = [&table](int sign, TeamFaces& faces) {
    const int team = table.GetInt(kTeamIdField, 0);
    if (!OnActiveRoster(team, table.GetBool(kRetiredField))) return;
    const int ethnicity = table.GetInt(kEthnicityField, 0);
    const int face = table.GetInt(kFaceField, 0);
    if (sign > 0) {
      faces.Add(team, ethnicity, face);
    } else {
      faces.Remove(team, ethnicity, face);
    }
  };
  RowCounter counter(rowsRead);
  ForEachRecord(game.Export(kPlayersExport), kExportSeparator, Heading::Skip,
                [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                  counter.Next();
                  const PlayerLine p = ReadPlayerLine(file, fields);
                  const bool known = table.Locate(kPlayerIdField, p.playerId);
                  if (known) {
                    if (teamFaces) rosterFace(-1, *teamFaces);
                    UpdateKnownPlayer(table, p, batting, pitching, playersAge);
                  } else {
                    AppendNewPlayer(table, p, batting, pitching, picturesFolder, pictures, looks,
                                    teamFaces ? &*teamFaces : nullptr);
                  }
                  const bool posted =
                      PostOrCancel(table, log,
                                   known ? "Error posting record in players table."
                                         : "Error appending record in players table.");
                  // The row as stored: the new one, or the known one as it was before.
                  if (teamFaces && (posted || known)) rosterFace(+1, *teamFaces);
                });
  transaction.Commit();
}

std::optional<std::string> AgedCondition(Database& db, const SavedGame& game, bool playersAge) {
  Connection& c = db.ConnectionFor(game.playersTable);
  for (const std::string_view name : {kCareerSeasonsField, kAgeStepField}) {
    bool there = false;
    for (const FieldDef& field : c.Fields()) there = there || field.name == name;
    if (!there) return std::nullopt;
  }
  // The step of a career length, as AgeStep gives it.
  const std::string step = playersAge ? "MIN(COALESCE(" + QuoteSqlName(kCareerSeasonsField) +
                                            ", 0) / " + std::to_string(kSeasonsPerAgeStep) + ", " +
                                            std::to_string(kAgeSteps - 1) + ")"
                                      : std::string("0");
  return "COALESCE(" + QuoteSqlName(kAgeStepField) + ", 0) <> " + step;
}

int FlagAgedPlayers(Database& db, const SavedGame& game, bool playersAge) {
  const std::optional<std::string> aged = AgedCondition(db, game, playersAge);
  if (!aged) return 0;
  Connection& c = db.ConnectionFor(game.playersTable);
  const std::string flag = QuoteSqlName("update_required");
  StatementUse use(c.Prepare("UPDATE " + c.QuotedTable() + " SET " + flag + " = ?1 WHERE " + flag +
                             " IS NOT ?1 AND " + *aged));
  use->Bind(1, c.FromBool(c.FieldIndex("update_required"), true));
  const std::int64_t before = c.Changes();
  use->Step();
  return static_cast<int>(c.Changes() - before);
}

bool PlayerPhotoExists(const std::filesystem::path& picturesFolder, std::string_view firstName,
                       std::string_view lastName, std::string_view idText, PictureNames* pictures) {
  const std::string byName = std::string(firstName) + "_" + std::string(lastName);
  const std::string byId = "Player_" + std::string(idText);
  for (const std::string& name : {byName + ".jpg", byName + ".png", byId + ".jpg", byId + ".png"}) {
    if (pictures != nullptr && !pictures->MayHold(name)) continue;
    if (const bool* judged = pictures != nullptr ? pictures->Judged(name) : nullptr) {
      if (*judged) return true;
      continue;
    }
    const std::filesystem::path file = picturesFolder / name;
    std::error_code ec;
    const bool exists = std::filesystem::exists(file, ec);
    // No right to look: the answer is unknown, not "no file". Other failures (a name with a
    // separator that leads nowhere, a name too long) are names the folder cannot hold.
    if (ec == std::errc::permission_denied) {
      throw Error("Cannot read \"" + file.string() + "\": " + ec.message() + ".");
    }
    // A portrait of ours (made before the tables were made afresh) is no picture of the user's.
    const bool usersPicture = exists && !IsLikentorPortrait(file);
    if (pictures != nullptr) pictures->Judge(name, usersPicture);
    if (usersPicture) return true;
  }
  return false;
}

}  // namespace likentor
