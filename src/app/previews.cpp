#include "app/previews.h"

#include <system_error>

#include "app/custom_uniforms.h"
#include "app/loaded_game.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "portrait/layer_drawing.h"
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

std::filesystem::path UniformPreviewFace(const std::filesystem::path& programFolder) {
  return programFolder / "graphics" / "uniforms" / "previewface.png";
}

std::filesystem::path FacialHairPreviewFace(const std::filesystem::path& programFolder) {
  return programFolder / "graphics" / "facial hair" / "previewface.png";
}

std::optional<PngImage> UniformPreview(const std::filesystem::path& programFolder,
                                       std::string_view customUniformFile) {
  PngImage face = PngImage::Load(UniformPreviewFace(programFolder));
  if (customUniformFile == kNoCustomUniform || customUniformFile.empty()) return std::nullopt;
  return WithLayer(std::move(face), std::filesystem::path(std::string(customUniformFile)));
}

std::optional<PngImage> FacialHairPreview(const std::filesystem::path& programFolder,
                                          std::string_view location) {
  PngImage face = PngImage::Load(FacialHairPreviewFace(programFolder));
  if (location == kNoFacialHair) return face;
  return WithLayer(std::move(face), programFolder / "graphics" / "facial hair" /
                                        std::string(location) / "brown.png");
}

std::optional<PngImage> GetUniformPreviewBtnClick(Session& session) {
  return UniformPreview(session.ProgramFolder(),
                        session.Game().TeamsTable.GetText("custom_uniform_file"));
}

std::optional<PngImage> GetFacialHairPreviewBtnClick(Session& session) {
  return FacialHairPreview(session.ProgramFolder(),
                           session.Universal().FacialHairTable.GetText("location"));
}

}  // namespace likentor
