#include "app/photo_plan.h"

#include "app/aging.h"
#include "app/loaded_game.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "database/games_table.h"
#include "database/stored_path.h"
#include "import/players_fields.h"
#include "portrait/aging.h"
#include "portrait/appearance.h"
#include "portrait/artwork_paths.h"
#include "portrait/layer_cache.h"
#include "portrait/team_colors.h"
#include "shell/folders.h"

namespace likentor {

namespace {

// A logo is a file of the picture folder: a name with a root or a ".." would read elsewhere.
bool InsidePictureFolder(const std::string& logoFile) {
  const std::filesystem::path path(logoFile);
  if (path.has_root_path()) return false;
  for (const std::filesystem::path& part : path) {
    if (part == "..") return false;
  }
  return true;
}

}  // namespace

PhotoRow ReadPhotoRow(const Cursor& players) {
  PhotoRow row;
  row.playerId = players.GetInt(kPlayerIdField, 0);
  row.ethnicity = players.GetInt(kEthnicityField, 0);
  row.face = players.GetInt(kFaceField, 0);
  row.accessory = players.GetInt(kAccessoryField, 0);
  row.retired = players.GetBool(kRetiredField);
  row.retiredAsTeam = players.GetInt(kRetiredAsTeamField, 0);
  row.teamId = players.GetInt(kTeamIdField, 0);
  row.hand = players.GetInt(kHandField, 0);
  row.position = players.GetInt(kPositionField, 0);
  row.hairColor = players.GetInt(kHairColorField, 0);
  row.facialHairStyle = players.GetInt(kFacialHairStyleField, 0);
  if (players.HasField(kCareerSeasonsField)) {
    row.careerSeasons = players.GetInt(kCareerSeasonsField, 0);
  }
  if (players.HasField(kAgeStepField)) row.ageStep = players.GetInt(kAgeStepField, 0);
  return row;
}

PhotoLookups::PhotoLookups(Session& session)
    : session_(session),
      useLogos_(session.Universal().GamesTable.GetBool("use_logos")),
      picturesFolder_(session.Game().Saved.picturesFolder) {
  Table& games = session.Universal().GamesTable;
  playersAge_ = games.HasField(kPlayersAgeField) && games.GetBool(kPlayersAgeField);
}

bool PhotoLookups::FaceAges(int ethnicity, int face) {
  if (!packFaces_) packFaces_ = PackFacesAging(session_.Data());
  const auto found = packFaces_->find({ethnicity, face});
  return found == packFaces_->end() || found->second;
}

std::filesystem::path PhotoLookups::PortraitFace(const std::filesystem::path& programFolder,
                                                 const PhotoRow& row) {
  if (row.hairColor == kBlondeHair) {
    if (!packFaces_) packFaces_ = PackFacesAging(session_.Data());
    if (!packFaces_->contains({row.ethnicity, row.face})) {
      std::filesystem::path blonde = BlondeFaceFile(programFolder, row.ethnicity, row.face);
      std::error_code ec;
      if (std::filesystem::exists(blonde, ec)) return blonde;
    }
  }
  return FaceFile(programFolder, row.ethnicity, row.face);
}

PhotoLookups::PhotoLookups(Session& session, bool logProblems) : PhotoLookups(session) {
  logProblems_ = logProblems;
}

const TeamLooks* PhotoLookups::Team(int teamId) {
  auto found = teams_.find(teamId);
  if (found == teams_.end()) {
    std::optional<TeamLooks> looks;
    Table& teams = session_.Game().TeamsTable;
    if (teams.IsOpen() && teams.Locate("team_id", teamId)) {
      std::string custom = teams.GetText("custom_uniform_file");
      if (!custom.empty() && custom != "none") {
        custom = StoredPathFile(session_.ProgramFolder(), custom).string();
      }
      looks = TeamLooks{std::move(custom),
                        teams.GetText("logo_file"),
                        teams.GetText("background_color_id"),
                        teams.GetText("text_color_id"),
                        std::nullopt,
                        ""};
      if (!teams.IsNull("level")) looks->level = teams.GetInt("level");
      const std::string team = "team " + std::to_string(teamId) + " (" +
                               teams.GetText("team_name") + " " + teams.GetText("nickname") + ")";
      looks->owner = team + " in " + teams.TableName();
      if (!InsidePictureFolder(looks->logoFile)) {
        std::string problem = "The logo \"" + looks->logoFile + "\" of " + team +
                              " lies outside the picture folder; it is passed over.";
        Problem(std::move(problem));
        looks->logoFile.clear();
      }
    }
    found = teams_.emplace(teamId, std::move(looks)).first;
  }
  return found->second ? &*found->second : nullptr;
}

void PhotoLookups::Problem(std::string problem) {
  if (logProblems_) {
    session_.Log().ReportError(problem);
  } else {
    problems_.push_back(std::move(problem));
  }
}

std::shared_ptr<const PngImage> PhotoLookups::CatalogueLayer(LayerCache& layers,
                                                             const std::filesystem::path& file,
                                                             const std::string& row) {
  auto layer = layers.PngIfExists(file);
  if (!layer && missingLayers_.insert(file).second) {
    Problem("The picture \"" + file.string() + "\" of " + row +
            " is missing; portraits are made without it.");
  }
  return layer;
}

const std::string* PhotoLookups::FacialHairLocation(int style) {
  auto found = facialHair_.find(style);
  if (found == facialHair_.end()) {
    std::optional<std::string> location;
    Table& table = session_.Universal().FacialHairTable;
    if (table.Locate("facial_hair_id", style)) location = table.GetText("location");
    found = facialHair_.emplace(style, std::move(location)).first;
  }
  return found->second ? &*found->second : nullptr;
}

const AccessoryLooks* PhotoLookups::Accessory(int accessoryId) {
  auto found = accessories_.find(accessoryId);
  if (found == accessories_.end()) {
    std::optional<AccessoryLooks> looks;
    Table& table = session_.Universal().AccessoriesTable;
    if (table.Locate("accessory_id", accessoryId)) {
      std::string location = table.GetText("location");
      if (!location.empty()) location = StoredPathFile(session_.ProgramFolder(), location).string();
      looks =
          AccessoryLooks{std::move(location),
                         AccessoryEligibility{
                             table.GetBool("lefty_eligible"), table.GetBool("righty_eligible"),
                             table.GetBool("pitcher_eligible"), table.GetBool("batter_eligible")}};
    }
    found = accessories_.emplace(accessoryId, std::move(looks)).first;
  }
  return found->second ? &*found->second : nullptr;
}

int PhotoLookups::AccessoryRecordCount() {
  if (!accessoryCount_) accessoryCount_ = session_.Universal().AccessoriesTable.RecordCount();
  return *accessoryCount_;
}

int DrawBackground(RandomGenerator& random) {
  // The draw covers 0 to kBackgroundCount; 0 stands for the first background.
  const int drawn = random.ReseedAndDraw(kBackgroundCount + 1);
  return drawn < 1 ? 1 : drawn;
}

int DrawAccessory(RandomGenerator& random, int recordCount) {
  const int n = recordCount - 1;
  const int drawn = random.ReseedAndDraw(n);
  if (drawn < 0) return 0;
  return n > 0 && drawn > n ? n : drawn;
}

PhotoPlan PlanPlayerPhoto(Session& session, PhotoLookups& lookups, LayerCache& layers,
                          const PhotoRow& row) {
  const std::filesystem::path& program = session.ProgramFolder();
  PhotoPlan plan;
  plan.playerId = row.playerId;
  plan.output = PortraitFile(lookups.PicturesFolder(), row.playerId);

  // The draws, in the order of the composition: the accessory once, a background every time.
  plan.accessory = row.accessory;
  if (row.accessory == 0) {
    plan.accessoryDrawn = true;
    plan.accessory = DrawAccessory(session.Random(), lookups.AccessoryRecordCount());
  }
  plan.background = DrawBackground(session.Random());
  plan.uniformTeam = row.retired ? row.retiredAsTeam : row.teamId;
  plan.ageStep = PortraitAgeStep(row, lookups.PlayersAge());
  // A face that does not follow the kit's grid is drawn as it is, whatever its age.
  const bool aged = plan.ageStep > 0 && lookups.FaceAges(row.ethnicity, row.face);

  // A team number without a teams row is dressed like team 0.
  const TeamLooks* team = plan.uniformTeam != 0 ? lookups.Team(plan.uniformTeam) : nullptr;
  ColorValue background = 0;
  ColorValue text = 0;
  if (team != nullptr) {
    background = GetBGColor(plan.uniformTeam, team->backgroundColor, team->owner);
    text = GetTxtColor(plan.uniformTeam, team->textColor, team->owner);
  }

  PortraitLayers& l = plan.layers;
  l.background = layers.Png(BackgroundFile(program, plan.background));
  l.faceFile = lookups.PortraitFace(program, row);
  if (aged) {
    l.ageFace = lookups.CatalogueLayer(layers, AgeFaceFile(program, plan.ageStep),
                                       "age step " + std::to_string(plan.ageStep));
  }

  if (team == nullptr) {
    l.uniform = layers.Png(DefaultUniformFile(program));
  } else if (team->customUniformFile != "none" && !team->customUniformFile.empty()) {
    // Looked for once per run: a missing custom picture is remembered as missing.
    l.uniform = layers.PngIfExists(team->customUniformFile);
  }
  if (team != nullptr && !l.uniform) {
    // No custom uniform, or one that is named but missing: the team's generic design and logo.
    l.genericUniform = layers.GenericUniform(GenericDesign(plan.uniformTeam), background, text);
    if (lookups.UseLogos() && IsPngLogoName(team->logoFile)) {
      l.logo = layers.Logo(lookups.PicturesFolder() / team->logoFile, kLogoSide, team->owner);
    }
  }
  l.billUnderside = layers.Png(BillUndersideFile(program));

  if (row.facialHairStyle != 0) {
    const std::string* location = lookups.FacialHairLocation(row.facialHairStyle);
    if (location != nullptr && *location != "none") {
      l.facialHair =
          lookups.CatalogueLayer(layers, FacialHairFile(program, *location, row.hairColor == 2),
                                 "facial-hair style " + std::to_string(row.facialHairStyle));
      if (aged && l.facialHair) {
        l.greyFacialHair =
            lookups.CatalogueLayer(layers, GreyFacialHairFile(program, *location, plan.ageStep),
                                   "facial-hair style " + std::to_string(row.facialHairStyle) +
                                       " at age step " + std::to_string(plan.ageStep));
      }
    }
  }
  if (const AccessoryLooks* accessory = lookups.Accessory(plan.accessory)) {
    if (AccessoryShown(accessory->eligibility, row.hand, row.position) &&
        !accessory->location.empty()) {
      l.accessory = lookups.CatalogueLayer(layers, accessory->location,
                                           "accessory " + std::to_string(plan.accessory));
    }
  }
  return plan;
}

int PortraitAgeStep(const PhotoRow& row, bool playersAge) {
  return playersAge ? AgeStep(row.careerSeasons) : 0;
}

void RecordPhoto(Cursor& players, const PhotoPlan& plan) {
  if (players.HasField(kAgeStepField)) players.SetInt(kAgeStepField, plan.ageStep);
  if (plan.accessoryDrawn) players.SetInt(kAccessoryField, plan.accessory);
  players.SetInt(kBackgroundField, plan.background);
  players.SetInt(kUniformTeamIdField, plan.uniformTeam);
  players.SetBool(kUpdateRequiredField, false);
}

}  // namespace likentor
