#pragma once

// The table side of a portrait: reading a players row, the draws, the lookups in the teams,
// facial-hair and accessories tables, the choice of layers, and the row values that record the
// portrait. Runs on the session's thread; the layers it picks are composed anywhere.

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "portrait/composition.h"

namespace likentor {

class Cursor;
class LayerCache;
class RandomGenerator;
class Session;

// The values of a players row that a portrait is made from.
struct PhotoRow {
  int playerId = 0;
  int ethnicity = 0;
  int face = 0;
  int accessory = 0;
  bool retired = false;
  int retiredAsTeam = 0;
  int teamId = 0;
  int hand = 0;
  int position = 0;
  int hairColor = 0;
  int facialHairStyle = 0;
  int careerSeasons = 0;
  int ageStep = 0;  // the age step of his last portrait
};
// Blank integers read as 0, a blank boolean as false; a table without the aging fields reads 0.
PhotoRow ReadPhotoRow(const Cursor& players);

// What a portrait needs of a teams row.
struct TeamLooks {
  std::string customUniformFile;  // "none", or the file (a stored relative path made whole)
  std::string logoFile;
  std::string backgroundColor;
  std::string textColor;
  std::optional<int> level;  // blank when the row has none
  // "team 12 (Town Club) in g_teams.db": who the team is in messages about its row.
  std::string owner;
};

struct AccessoryLooks {
  std::string location;  // the file (a stored relative path made whole)
  AccessoryEligibility eligibility;
};

// The lookups of the session's open tables, each key looked up once (with Locate, so the tables
// are left on the records found, as the composition leaves them) and then remembered.
class PhotoLookups {
 public:
  explicit PhotoLookups(Session& session);
  // Lookups that write nothing (a dry run): what would go to the error log is kept in Problems.
  PhotoLookups(Session& session, bool logProblems);

  // The teams row of a team, or nothing when the table has none. A logo_file that would be read
  // from outside the picture folder (an absolute path, a "..") is passed over: logoFile is left
  // empty and the error log names the team.
  const TeamLooks* Team(int teamId);
  // The artwork folder of a facial-hair style, or nothing when the table has no such style.
  const std::string* FacialHairLocation(int style);
  const AccessoryLooks* Accessory(int accessoryId);
  int AccessoryRecordCount();
  bool UseLogos() const { return useLogos_; }
  // The game's setting that portraits show the length of a career.
  bool PlayersAge() const { return playersAge_; }
  // Whether the age layers are drawn over a face: the kit's faces, and the faces of the packs
  // that follow the kit's layout grid.
  bool FaceAges(int ethnicity, int face);
  // The face file a portrait of the row shows: a blonde player's kit face with blonde hair when
  // the kit has it, else the face as it is (a pack's face among them).
  std::filesystem::path PortraitFace(const std::filesystem::path& programFolder,
                                     const PhotoRow& row);
  const std::filesystem::path& PicturesFolder() const { return picturesFolder_; }
  // A layer file that a catalogue row names (a facial-hair style's, an accessory's) or an age
  // layer: drawn when it is there; when it is missing the portraits go without it and the error
  // log names the file and what needs it once for the run, not once per portrait.
  std::shared_ptr<const PngImage> CatalogueLayer(LayerCache& layers,
                                                 const std::filesystem::path& file,
                                                 const std::string& row);
  // The problems met, when they are not logged.
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  Session& session_;
  bool logProblems_ = true;
  std::vector<std::string> problems_;
  std::set<std::filesystem::path> missingLayers_;
  void Problem(std::string problem);
  bool useLogos_;
  bool playersAge_ = false;
  std::optional<std::map<std::pair<int, int>, bool>> packFaces_;
  std::filesystem::path picturesFolder_;
  std::optional<int> accessoryCount_;
  std::map<int, std::optional<TeamLooks>> teams_;
  std::map<int, std::optional<std::string>> facialHair_;
  std::map<int, std::optional<AccessoryLooks>> accessories_;
};

// A new background number: reseed, a draw below 70, 0 taken as 1.
int DrawBackground(RandomGenerator& random);
// A new accessory number from a table of `recordCount` records: reseed, a draw below
// recordCount - 1, held to 0..recordCount - 1 (0 for a table of fewer than two records).
int DrawAccessory(RandomGenerator& random, int recordCount);

// A portrait to make and what it records on the players row.
struct PhotoPlan {
  int playerId = 0;
  bool accessoryDrawn = false;  // the row's accessory was 0: `accessory` is written
  int accessory = 0;
  int background = 0;
  int uniformTeam = 0;
  int ageStep = 0;  // the age step the portrait shows (0 with the setting off)
  PortraitLayers layers;
  std::filesystem::path output;
};

// The draws and the layers of one portrait, in the order of the composition. Throws Error for a
// shared layer that is missing or cannot be decoded (naming the file) and for a team colour that
// is not a colour; the face is decoded when the portrait is composed.
PhotoPlan PlanPlayerPhoto(Session& session, PhotoLookups& lookups, LayerCache& layers,
                          const PhotoRow& row);

// The age step a portrait of the row shows: the step of his career length with the setting on,
// else 0.
int PortraitAgeStep(const PhotoRow& row, bool playersAge);

// Writes the plan's values into a row in edit: accessory (when drawn), background,
// uniform_team_id, age_step (when the table has it), and update_required false.
void RecordPhoto(Cursor& players, const PhotoPlan& plan);

}  // namespace likentor
