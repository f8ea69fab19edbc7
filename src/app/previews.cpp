#include "app/previews.h"

#include <system_error>

#include "app/custom_uniforms.h"
#include "app/loaded_game.h"
#include "app/photo_plan.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "database/stored_path.h"
#include "portrait/composition.h"
#include "portrait/image_operations.h"
#include "portrait/layer_cache.h"
#include "portrait/layer_drawing.h"
#include "portrait/team_colors.h"
#include "shell/error.h"

namespace likentor {

namespace {

constexpr std::string_view kNoFacialHair = "none";

// The face with the layer file drawn over it, or nothing when the layer is missing or unreadable:
// a preview is a look at artwork, and a broken file simply shows no preview.
std::optional<PngImage> WithLayer(PngImage face, const std::filesystem::path& layerFile) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(layerFile, ec)) return std::nullopt;
  try {
    DrawLayer(face, PngImage::Load(layerFile), 0, 0);
  } catch (const Error&) {
    return std::nullopt;
  }
  return face;
}

}  // namespace

std::optional<PngImage> UniformPreview(const std::filesystem::path& programFolder,
                                       std::string_view customUniformFile) {
  PngImage face = PngImage::Load(UniformPreviewFace(programFolder));
  if (customUniformFile == kNoCustomUniform || customUniformFile.empty()) return std::nullopt;
  return WithLayer(std::move(face), StoredPathFile(programFolder, customUniformFile));
}

std::optional<PngImage> FacialHairPreview(const std::filesystem::path& programFolder,
                                          std::string_view location) {
  PngImage face = PngImage::Load(FacialHairPreviewFace(programFolder));
  if (location == kNoFacialHair) return face;
  return WithLayer(std::move(face), FacialHairFile(programFolder, location, false));
}

std::optional<PngImage> GetUniformPreviewBtnClick(Session& session) {
  return UniformPreview(session.ProgramFolder(),
                        session.Game().TeamsTable.GetText("custom_uniform_file"));
}

PngImage TeamUniformPreview(Session& session, int teamId) {
  PhotoLookups lookups(session);
  const TeamLooks* team = lookups.Team(teamId);
  if (team == nullptr) throw Error("The game has no team " + std::to_string(teamId) + ".");
  PngImage face = PngImage::Load(UniformPreviewFace(session.ProgramFolder()));
  LayerCache layers(session.ProgramFolder());
  if (team->customUniformFile != kNoCustomUniform && !team->customUniformFile.empty()) {
    if (auto custom = layers.PngIfExists(team->customUniformFile)) {
      DrawLayer(face, *custom, 0, 0);
      return face;
    }
  }
  // No custom uniform, or a named one that is missing: the generic design, as in a portrait.
  const auto generic =
      layers.GenericUniform(GenericDesign(teamId), GetBGColor(teamId, team->backgroundColor),
                            GetTxtColor(teamId, team->textColor));
  TransOverlay2(face, *generic);
  if (lookups.UseLogos() && IsPngLogoName(team->logoFile)) {
    if (auto logo = layers.Logo(lookups.PicturesFolder() / team->logoFile, kLogoSide)) {
      DrawLayer(face, *logo, kLogoX, kLogoY);
    }
  }
  return face;
}

std::optional<PngImage> GetFacialHairPreviewBtnClick(Session& session) {
  return FacialHairPreview(session.ProgramFolder(),
                           session.Universal().FacialHairTable.GetText("location"));
}

}  // namespace likentor
